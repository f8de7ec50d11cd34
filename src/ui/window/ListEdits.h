#pragma once
// The window's changes of the list: Remove, Clear (also before opening files) and Undo, which
// brings back what they took (UndoStack). They never happen during a run, and Undo is enabled
// only when there is a step to undo and no run is going.
#include <functional>
#include <memory>

namespace pictarix {

class MainWindow;
class RunControl;
class UndoStack;
class WindowRun;

class ListEdits {
 public:
  // `followSelection` enables the items that follow the selection, after a change.
  ListEdits(MainWindow& window, RunControl& runs, WindowRun& run,
            std::function<void()> followSelection);
  ~ListEdits();

  void Remove();
  // Empties the list, kept for Undo; `newList`: files are opened in its place.
  void Clear(bool newList);
  void Undo();
  void ShowUndoState();

 private:
  // Changes the list's entries inside a rebuild of its rows.
  void Rebuild(const std::function<void()>& change);

  MainWindow& window_;
  RunControl& runs_;
  WindowRun& run_;
  std::function<void()> followSelection_;
  std::unique_ptr<UndoStack> undo_;
};

}  // namespace pictarix
