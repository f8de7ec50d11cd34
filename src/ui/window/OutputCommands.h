#pragma once
// The output commands of the window: Save As, Batch Save As, Save/Add to Icon Library, Copy to
// Clipboard, Save as Cursor Theme. The core's output functions do the work on the entries these
// pick; these ask the dialogs, which keep what their last use left, and report what could not be
// written.
#include <functional>

#include "output/EntrySelection.h"
#include "ui/dialogs/Dialogs.h"

class QWidget;

namespace pictarix {

class Harvester;
class StatusNotice;

class OutputCommands {
 public:
  // The selected entries in list order.
  using SelectionSource = std::function<EntrySelection()>;

  // `notice` tells what a command wrote, with a link to its folder.
  OutputCommands(Dialogs& dialogs, QWidget& window, Harvester& harvester, SelectionSource selected,
                 StatusNotice& notice);

  void SaveAs();
  // `tag`: the batch format (0 icons, 1 GIFs, 2 bitmaps, 3 JPEGs, 4 PNGs of the largest images
  // with their transparency).
  void BatchSaveAs(int tag);
  void SaveToLibrary(bool add);
  void CopyToClipboard();
  // "Copy Largest Image": the selected entry's largest image with its alpha, as a PNG.
  void CopyLargestImage();
  void SaveCursorTheme();

  // The file dialogs, by the names the commands use.
  FileDialogRequest SaveAsDialog;
  FileDialogRequest SaveLibraryDialog;
  FileDialogRequest AddToLibraryDialog;

 private:
  void Notice(const QString& message);
  // `text` in the status line for a while, with "Open Folder" for `folder`.
  void Report(const QString& text, const QString& folder);
  // The entry at `position` of the list as it is now, or nullptr. The list may change while a
  // question is open, so entries are picked by position again after one.
  const ListEntry* EntryAt(int position) const;
  // Names the cursors an icon library command left out (the first ten, then a count).
  static QString LeftOutOfLibraryText(const EntrySelection& refused);

  Dialogs& dialogs_;
  QWidget& window_;
  Harvester& harvester_;
  SelectionSource selected_;
  StatusNotice& notice_;
};

}  // namespace pictarix
