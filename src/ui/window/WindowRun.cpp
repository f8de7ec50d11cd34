#include "ui/window/WindowRun.h"

#include <QAction>
#include <QEventLoop>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include "harvest/Harvester.h"
#include "ui/list/IconListModel.h"
#include "ui/window/SavedNotice.h"
#include "ui/window/StatusNotice.h"
#include "ui/window/StatusPanels.h"

namespace pictarix {

WindowRun::WindowRun(const MainControls& controls, Harvester& harvester, IconListModel& model,
                     QAction& problemsItem)
    : controls_(controls), harvester_(harvester), model_(model), problemsItem_(problemsItem) {}

void WindowRun::HarvestRoots(std::vector<HarvestRoot> roots) {
  harvester_.Begin(std::move(roots));
  QEventLoop loop;
  QTimer take;
  take.setInterval(kTakeIntervalMs);
  QObject::connect(&take, &QTimer::timeout, &loop, [this, &loop] {
    if (!harvester_.TakeReady(std::chrono::milliseconds(kTakeBudgetMs))) loop.quit();
    TakeNewRows(false);
  });
  take.start();
  loop.exec();
}

void WindowRun::BeginProcessing() {
  controls_.ToolBar.setEnabled(false);
  harvester_.StopRequested = false;
  problems_.clear();
  controls_.StatusBar.Notice().ClearLasting();
  controls_.List.hide();
  controls_.Preview.show();
  controls_.StopButton.show();
  controls_.StopButton.raise();
}

void WindowRun::EndProcessing() {
  TakeNewRows(true);
  controls_.List.show();
  controls_.Preview.hide();
  controls_.StopButton.hide();
  controls_.StatusBar.SetText(0, QStringLiteral("Processing Finished"));
  ShowCounters(controls_.StatusBar, harvester_);
  controls_.ToolBar.setEnabled(true);
}

void WindowRun::RunEnded() {
  lastProblems_.swap(problems_);
  problemsItem_.setEnabled(!lastProblems_.empty());
  if (!lastProblems_.empty()) {
    // The link opens View > Problems.
    controls_.StatusBar.Notice().ShowLasting(
        {{}, UnreadableFilesText(static_cast<int>(lastProblems_.size())), [item = &problemsItem_] {
           item->trigger();
         }});
  }
  controls_.List.setFocus();
  controls_.List.viewport()->update();  // an empty list's hint, held back during the run
}

void WindowRun::Stop() {
  harvester_.RequestStop();
  controls_.StopButton.hide();
  controls_.ToolBar.setEnabled(true);
  controls_.List.show();
  TakeNewRows(true);
}

void WindowRun::TakeNewRows(bool now) {
  if (model_.PendingRows() <= 0) return;
  // A hidden list has no use for rows; while it is shown during a run it takes them in batches.
  if (!now && (controls_.List.isHidden() ||
               (sinceBatch_.isValid() && sinceBatch_.elapsed() < kBatchIntervalMs))) {
    return;
  }
  model_.TakeNewRows();
  sinceBatch_.start();
}

void ShowCounters(StatusPanels& statusLine, const Harvester& harvester) {
  statusLine.SetText(1, QString::number(harvester.FileCount) + QStringLiteral(" files"));
  statusLine.SetText(2, QString::number(harvester.Entries.size()) + QStringLiteral(" icons"));
}

}  // namespace pictarix
