// The commands of TIconMain: harvest, busy state, selection, Remove, Clear, Stay on Top, About.
#include <algorithm>

#include <QCoreApplication>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolBar>

#include "harvest/Harvester.h"
#include "ui/AboutBox.h"
#include "ui/Dialogs.h"
#include "ui/IconListModel.h"
#include "ui/IconMain.h"
#include "ui/IconPreview.h"
#include "ui/RunScope.h"
#include "ui/Settings.h"
#include "ui/StatusPanels.h"
#include "ui/Utilities.h"

namespace pictarix {

namespace {

const QString kOpenFilesTitle = QStringLiteral("Open Files");
const QString kOpenFilesFilter = QStringLiteral(
    "EXE;DLL;CPL;OCX;ICL;ICO;NIL|*.EXE;*.DLL;*.CPL;*.OCX;*.ICL;*.ICO;*.NIL|EXE files(*.EXE)|*.exe|"
    "DLL files(*.DLL)|*.dll|All Files(*.*)|*.*");
const QString kSelectFolderPrompt = QStringLiteral("Please select a directory");

}  // namespace

// Harvest commands

void TIconMain::OpenFiles1Click() {
  if (runInProgress_) return;
  TFileDialogRequest request;
  request.Title = kOpenFilesTitle;
  request.Filter = kOpenFilesFilter;
  request.FilterIndex = 1;
  request.MultiSelect = true;
  TFileDialogAnswer answer;
  if (!dialogs_.ExecuteFileDialog(this, request, answer)) return;
  if (runInProgress_) return;  // a run may have begun while the dialog was open
  RunScope run(*this);
  ClearList();
  for (const QString& file : answer.Files) harvester_->HarvestFile(ToPath(file));
  run.End();
}

void TIconMain::SearchDirectory1Click() {
  if (runInProgress_) return;
  QString folder;
  if (!SelectFolder(dialogs_, this, kSelectFolderPrompt, QStringLiteral("\\"), folder)) return;
  if (!IsDirectory(folder) || runInProgress_) return;
  RunScope run(*this);
  ClearList();
  ProcessMessages();
  harvester_->HarvestDirectory(ToPath(folder));
  run.End();
}

// Busy state

void TIconMain::BeginProcessing() {
  runInProgress_ = true;
  ToolBar1->setEnabled(false);
  harvester_->StopRequested = false;
  ListView1->hide();
  Preview->show();
  StopBtn->show();
  StopBtn->raise();
}

void TIconMain::EndProcessing() {
  TakeNewRows(true);
  ListView1->show();
  Preview->hide();
  StopBtn->hide();
  StatusBar1->SetText(0, QStringLiteral("Processing Finished"));
  ShowCounters();
  ToolBar1->setEnabled(true);
  const bool endsRun = runInProgress_;
  runInProgress_ = false;
  if (endsRun && closeAfterRun_) {
    // Closed during the run: close now that it has ended, once the command has returned.
    QTimer::singleShot(0, this, &QWidget::close);
  }
  // The command line waits for a run that began before the window's first activation.
  if (endsRun && StartupPending) QueueFormActivate();
}

void TIconMain::StopBtnClick() {
  harvester_->StopRequested = true;
  StopBtn->hide();
  ToolBar1->setEnabled(true);
  ListView1->show();
  TakeNewRows(true);
}

// Selection

int TIconMain::SelectedCount() const {
  int count = 0;
  for (const QItemSelectionRange& range : ListView1->selectionModel()->selection()) {
    count += range.height();
  }
  return count;
}

std::vector<bool> TIconMain::SelectedFlags() const {
  return model_->EntryFlags(SelectedRowFlags());
}

std::vector<bool> TIconMain::SelectedRowFlags() const {
  std::vector<bool> flags(static_cast<std::size_t>(model_->rowCount()), false);
  for (const QItemSelectionRange& range : ListView1->selectionModel()->selection()) {
    for (int row = range.top(); row <= range.bottom(); ++row) {
      flags.at(static_cast<std::size_t>(row)) = true;
    }
  }
  return flags;
}

void TIconMain::UpdateSelectionItems(int selected) {
  for (QAction* item : {CopyClipBrd1, CopyClipBrd2}) item->setEnabled(selected == 1);
  for (QAction* item : {SaveAs1, SaveAs2, SaveLib1, SaveLib2, AddLib1, AddLib2, Remove1, Remove2}) {
    item->setEnabled(selected >= 1);
  }
  for (QAction* item : {BatchSaveAs1, BatchSaveAs2}) item->setEnabled(selected >= 2);
  for (QAction* item :
       {AsIcons1, AsIcons2, AsGIFs1, AsGIFs2, AsBitmaps1, AsBitmaps2, AsJpegs1, AsJPEGs2}) {
    item->setEnabled(selected >= 1);
  }
}

void TIconMain::ListView1SelectItem() {
  // Runs once per change of the selection, however many entries it changed: the result is the
  // same as running once per entry, since only the final count matters.
  const int selected = SelectedCount();
  UpdateSelectionItems(selected);
  StatusBar1->SetText(0, QString::number(selected) + QStringLiteral(" items seleted"));
}

void TIconMain::SelectAll1Click() {
  TakeNewRows(true);
  if (model_->rowCount() > 0) ListView1->selectAll();
  ListView1->setFocus();
}

void TIconMain::InvertSelection1Click() {
  TakeNewRows(true);
  const std::vector<bool> selected = SelectedRowFlags();
  if (selected.empty()) return;
  QItemSelection inverted;
  const int rows = static_cast<int>(selected.size());
  for (int row = 0; row < rows;) {
    if (selected[static_cast<std::size_t>(row)]) {
      ++row;
      continue;
    }
    const int first = row;
    while (row < rows && !selected[static_cast<std::size_t>(row)]) ++row;
    inverted.select(model_->index(first), model_->index(row - 1));
  }
  QItemSelectionModel* selection = ListView1->selectionModel();
  {
    // Clearing first keeps the change linear in the number of ranges; the one notification
    // below then reports the whole change.
    const QSignalBlocker quiet(selection);
    selection->clearSelection();
  }
  ListView1->viewport()->update();
  if (inverted.isEmpty()) {
    ListView1SelectItem();  // everything was deselected
  } else {
    selection->select(inverted, QItemSelectionModel::Select);
  }
}

// Remove and Clear

void TIconMain::RemoveClick() {
  if (runInProgress_) return;
  TakeNewRows(true);
  const std::vector<bool> selected = SelectedFlags();
  if (std::find(selected.begin(), selected.end(), true) == selected.end()) return;
  ListView1->setEnabled(false);
  model_->BeginRebuild();
  try {
    harvester_->RemoveEntries(selected);
  } catch (...) {
    model_->EndRebuild();
    ListView1->setEnabled(true);
    throw;
  }
  model_->EndRebuild();
  ListView1->setEnabled(true);
  UpdateSelectionItems(SelectedCount());
  EndProcessing();
}

void TIconMain::Clear1Click() {
  if (runInProgress_) return;
  ClearList();
}

void TIconMain::ClearList() {
  model_->BeginRebuild();
  try {
    harvester_->ClearList();
  } catch (...) {
    model_->EndRebuild();
    throw;
  }
  model_->EndRebuild();
  UpdateSelectionItems(SelectedCount());
}

// Stay on Top, About, Exit, clock

void TIconMain::SetTopmost(bool topmost) {
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost) return;
  const bool shown = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
  if (shown) show();  // changing the flags hides a shown window
}

void TIconMain::StayonTop1Click() {
  SetTopmost(StayonTop1->isChecked());
  WriteRegBool(TRegRoot::CurrentUser, kSettingsKey, kStayOnTopValue, StayonTop1->isChecked());
}

void TIconMain::About1Click() {
  SetTopmost(false);
  try {
    dialogs_.ShowModal(*AboutBox);
  } catch (...) {
    SetTopmost(StayonTop1->isChecked());
    throw;
  }
  SetTopmost(StayonTop1->isChecked());
}

void TIconMain::Exit1Click() {
  close();
}

void TIconMain::Timer1Timer() {
  StatusBar1->SetText(3, LongTimeText(QTime::currentTime()));
}

}  // namespace pictarix
