#pragma once
// A harvest run as the window shows it: busy while it goes (the list hidden, the preview tile and
// Stop shown, the toolbar disabled), its results taken into the list in batches while the window
// goes on handling its events, and the files it could not read kept once it has ended. The steps
// of the window's RunControl, which decides whether a run may begin.
#include <chrono>
#include <vector>

#include <QElapsedTimer>

#include "harvest/HarvestEngine.h"
#include "ui/dialogs/ProblemsDialog.h"
#include "ui/window/MainControls.h"

class QAction;

namespace pictarix {

class Harvester;
class IconListModel;

class WindowRun {
 public:
  // Rows are taken into the list at most this often while it is shown during a run.
  static constexpr int kBatchIntervalMs = 200;
  // During a run the harvest's results are taken this often, for at most kTakeBudgetMs each time,
  // so that the window draws and answers between batches.
  static constexpr int kTakeIntervalMs = 16;
  static constexpr int kTakeBudgetMs = 8;

  // `problemsItem` is enabled after a run that left problems.
  WindowRun(const MainControls& controls, Harvester& harvester, IconListModel& model,
            QAction& problemsItem);

  // Harvests the roots in order (the list is not cleared): the files are read on the harvest's
  // threads while the window goes on handling its events, taking the results in batches. Returns
  // when the run has ended or been stopped.
  void HarvestRoots(std::vector<HarvestRoot> roots);
  void BeginProcessing();
  void EndProcessing();
  // What follows the end of a run: the problems are listed (and linked to from the status line),
  // the list takes the focus.
  void RunEnded();
  // Stop: the harvest is asked to stop and the list is shown at once.
  void Stop();
  // Takes the harvest's new entries into the list when due (or always with `now`).
  void TakeNewRows(bool now);

  void FileUnreadable(UnreadableFile file) { problems_.push_back(std::move(file)); }
  // The files the last run could not read.
  const std::vector<UnreadableFile>& Problems() const { return lastProblems_; }

 private:
  MainControls controls_;
  Harvester& harvester_;
  IconListModel& model_;
  QAction& problemsItem_;
  std::vector<UnreadableFile> problems_;
  std::vector<UnreadableFile> lastProblems_;
  QElapsedTimer sinceBatch_;
};

// The status line's counters of files and icons.
void ShowCounters(StatusPanels& statusLine, const Harvester& harvester);

}  // namespace pictarix
