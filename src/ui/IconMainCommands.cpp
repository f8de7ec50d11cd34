// The commands of MainWindow: harvest, busy state, selection, Remove, Clear, Problems, Stay on Top,
// help, About, and the output commands' forwarders.
#include <QAction>
#include <QListView>
#include <QPushButton>
#include <QToolBar>

#include "harvest/Harvester.h"
#include "ui/IconMain.h"
#include "ui/StatusPanels.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/OpenDialogs.h"
#include "ui/list/IconListModel.h"
#include "ui/list/IconPreview.h"
#include "ui/list/ListSelection.h"
#include "ui/window/ClockText.h"
#include "ui/window/Manual.h"
#include "ui/window/OutputCommands.h"
#include "ui/window/QtPaths.h"
#include "ui/window/ScopeExit.h"
#include "ui/window/Settings.h"
#include "ui/window/WindowPlacement.h"

namespace pictarix {

// Harvest commands

void MainWindow::OpenFiles1Click() {
  QStringList files;
  runs_.Run({[this, &files] { return AskFilesToOpen(dialogs_, this, files); },
             [this, &files] {
               ClearList();
               std::vector<HarvestRoot> roots;
               for (const QString& file : files) roots.push_back({ToPath(file), false});
               HarvestRoots(std::move(roots));
             }});
}

void MainWindow::SearchDirectory1Click() {
  QString folder;
  runs_.Run({[this, &folder] { return AskFolderToOpen(dialogs_, this, folder); },
             [this, &folder] {
               ClearList();
               HarvestRoots({{ToPath(folder), true}});
             }});
}

// Busy state

void MainWindow::BeginProcessing() {
  parts_.ToolBar1->setEnabled(false);
  harvester_->StopRequested = false;
  problems_.clear();
  parts_.ListView1->hide();
  parts_.Preview->show();
  parts_.StopBtn->show();
  parts_.StopBtn->raise();
}

void MainWindow::EndProcessing() {
  TakeNewRows(true);
  parts_.ListView1->show();
  parts_.Preview->hide();
  parts_.StopBtn->hide();
  parts_.StatusBar1->SetText(0, QStringLiteral("Processing Finished"));
  ShowCounters();
  parts_.ToolBar1->setEnabled(true);
}

void MainWindow::RunEnded() {
  lastProblems_.swap(problems_);
  problemsItem_->setEnabled(!lastProblems_.empty());
  parts_.ListView1->setFocus();
}

void MainWindow::StopBtnClick() {
  harvester_->RequestStop();
  parts_.StopBtn->hide();
  parts_.ToolBar1->setEnabled(true);
  parts_.ListView1->show();
  TakeNewRows(true);
}

// Selection

int MainWindow::SelectedCount() const {
  return pictarix::SelectedCount(*parts_.ListView1->selectionModel());
}

std::vector<bool> MainWindow::SelectedFlags() const {
  return model_->EntryFlags(SelectedRowFlags(*parts_.ListView1->selectionModel()));
}

void MainWindow::ListView1SelectItem() {
  // Runs once per change of the selection, however many entries it changed: the result is the
  // same as running once per entry, since only the final count matters.
  const int selected = SelectedCount();
  EnableForSelection(commands_, selected);
  parts_.StatusBar1->SetText(0, QString::number(selected) + QStringLiteral(" items seleted"));
}

void MainWindow::SelectAll1Click() {
  TakeNewRows(true);
  if (model_->rowCount() > 0) parts_.ListView1->selectAll();
  parts_.ListView1->setFocus();
}

void MainWindow::InvertSelection1Click() {
  TakeNewRows(true);
  if (model_->rowCount() == 0) return;
  InvertSelection(*parts_.ListView1->selectionModel());
  parts_.ListView1->viewport()->update();
  if (SelectedCount() == 0) ListView1SelectItem();  // everything was deselected
}

// Remove and Clear: changes of the list, never during a run

void MainWindow::RemoveClick() {
  runs_.Run({{},
             [this] {
               TakeNewRows(true);
               if (SelectedCount() == 0) return;
               const std::vector<bool> selected = SelectedFlags();
               {
                 parts_.ListView1->setEnabled(false);
                 model_->BeginRebuild();
                 const ScopeExit rebuilt([this] {
                   model_->EndRebuild();
                   parts_.ListView1->setEnabled(true);
                 });
                 harvester_->RemoveEntries(selected);
               }
               EnableForSelection(commands_, SelectedCount());
               EndProcessing();
             },
             false});
}

void MainWindow::Clear1Click() {
  runs_.Run({{}, [this] { ClearList(); }, false});
}

void MainWindow::ClearList() {
  {
    model_->BeginRebuild();
    const ScopeExit rebuilt([this] { model_->EndRebuild(); });
    harvester_->ClearList();
  }
  EnableForSelection(commands_, SelectedCount());
}

void MainWindow::Problems1Click() {
  if (lastProblems_.empty()) return;
  ProblemsDialog dialog(lastProblems_, this);
  dialogs_.ShowModal(dialog);
}

// Stay on Top, help, About, Exit, clock

void MainWindow::StayonTop1Click() {
  SetTopmost(*this, stayOnTop_->isChecked());
  WriteRegBool(SettingsRoot::CurrentUser, kSettingsKey, kStayOnTopValue, stayOnTop_->isChecked());
}

void MainWindow::Contents1Click() {
  OpenManual(dialogs_, this);
}

void MainWindow::About1Click() {
  SetTopmost(*this, false);
  const ScopeExit restore([this] { SetTopmost(*this, stayOnTop_->isChecked()); });
  dialogs_.ShowModal(*parts_.AboutBox);
}

void MainWindow::Exit1Click() {
  close();
}

void MainWindow::Timer1Timer() {
  parts_.StatusBar1->SetText(3, LongTimeText(QTime::currentTime()));
}

// Output commands

void MainWindow::SaveAs1Click() {
  output_->SaveAs();
}

void MainWindow::BatchSaveClick(QAction* sender) {
  if (const std::optional<int> tag = TagOf(sender)) output_->BatchSaveAs(*tag);
}

void MainWindow::SaveLib1Click(QAction* sender) {
  const std::optional<int> tag = TagOf(sender);
  if (tag && (*tag == 0 || *tag == 1)) output_->SaveToLibrary(*tag == 1);
}

void MainWindow::CopyClipBrd1Click() {
  output_->CopyToClipboard();
}

}  // namespace pictarix
