// The commands of MainWindow: harvest, Stop, selection, Remove, Clear, Undo, Problems, Stay on Top,
// help, About, and the output commands' forwarders.
#include <QAction>
#include <QListView>
#include <QPushButton>
#include <QToolBar>

#include "harvest/Harvester.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/OpenDialogs.h"
#include "ui/list/IconListModel.h"
#include "ui/list/IconPreview.h"
#include "ui/list/ListSelection.h"
#include "ui/window/ClockText.h"
#include "ui/window/ListEdits.h"
#include "ui/window/MainWindow.h"
#include "ui/window/Manual.h"
#include "ui/window/OutputCommands.h"
#include "ui/window/QtPaths.h"
#include "ui/window/ScopeExit.h"
#include "ui/window/Settings.h"
#include "ui/window/StatusPanels.h"
#include "ui/window/WindowPlacement.h"

namespace pictarix {

// Harvest commands

void MainWindow::OpenFilesClick() {
  QStringList files;
  runs_.Run({[this, &files] { return AskFilesToOpen(dialogs_, this, files); },
             [this, &files] {
               ClearList(true);
               std::vector<HarvestRoot> roots;
               for (const QString& file : files) roots.push_back({ToPath(file), false});
               run_->HarvestRoots(std::move(roots));
             }});
}

void MainWindow::OpenDirectoryClick() {
  QString folder;
  runs_.Run({[this, &folder] { return AskFolderToOpen(dialogs_, this, folder); },
             [this, &folder] {
               ClearList(true);
               run_->HarvestRoots({{ToPath(folder), true}});
             }});
}

void MainWindow::StopBtnClick() {
  run_->Stop();
}

// Selection

int MainWindow::SelectedCount() const {
  return pictarix::SelectedCount(*parts_.TileView->selectionModel());
}

EntrySelection MainWindow::SelectedEntries() const {
  return model_->Entries(SelectedRows(*parts_.TileView->selectionModel()));
}

std::vector<bool> MainWindow::SelectedFlags() const {
  return model_->EntryFlags(SelectedRowFlags(*parts_.TileView->selectionModel()));
}

void MainWindow::TileSelectionChanged() {
  // Runs once per change of the selection, however many entries it changed: the result is the
  // same as running once per entry, since only the final count matters.
  const int selected = SelectedCount();
  EnableForSelection(commands_, selected);
  parts_.StatusLine->SetText(0, QString::number(selected) + QStringLiteral(" items seleted"));
}

void MainWindow::SelectAllClick() {
  run_->TakeNewRows(true);
  if (model_->rowCount() > 0) parts_.TileView->selectAll();
  parts_.TileView->setFocus();
}

void MainWindow::InvertSelectionClick() {
  run_->TakeNewRows(true);
  if (model_->rowCount() == 0) return;
  InvertSelection(*parts_.TileView->selectionModel());
  parts_.TileView->viewport()->update();
  if (SelectedCount() == 0) TileSelectionChanged();  // everything was deselected
}

// Remove and Clear: changes of the list, never during a run

void MainWindow::RemoveClick() {
  edits_->Remove();
}

void MainWindow::ClearClick() {
  runs_.Run({{}, [this] { ClearList(); }, false});
}

void MainWindow::ClearList(bool newList) {
  edits_->Clear(newList);
}

void MainWindow::UndoClick() {
  edits_->Undo();
}

void MainWindow::ProblemsClick() {
  if (Problems().empty()) return;
  ProblemsDialog dialog(Problems(), this);
  dialogs_.ShowModal(dialog);
}

// Stay on Top, help, About, Exit, clock

void MainWindow::StayOnTopClick() {
  SetTopmost(*this, stayOnTop_->isChecked());
  WriteSettingBool(SettingsRoot::CurrentUser, kSettingsKey, kStayOnTopValue,
                   stayOnTop_->isChecked());
}

void MainWindow::IncludeCursorsClick() {
  // A run going on keeps the options it began with.
  harvester_->IncludeCursors = includeCursors_->isChecked();
  WriteSettingBool(SettingsRoot::CurrentUser, kSettingsKey, kIncludeCursorsValue,
                   includeCursors_->isChecked());
}

void MainWindow::ContentsClick() {
  OpenManual(dialogs_, this);
}

void MainWindow::AboutClick() {
  SetTopmost(*this, false);
  const ScopeExit restore([this] { SetTopmost(*this, stayOnTop_->isChecked()); });
  dialogs_.ShowModal(*parts_.AboutBox);
}

void MainWindow::ExitClick() {
  close();
}

void MainWindow::PaceTick() {
  parts_.StatusLine->SetText(3, LongTimeText(QTime::currentTime()));
}

// Output commands

void MainWindow::SaveAsClick() {
  output_->SaveAs();
}

void MainWindow::BatchSaveClick(QAction* sender) {
  if (const std::optional<int> tag = TagOf(sender)) output_->BatchSaveAs(*tag);
}

void MainWindow::SaveToLibraryClick(QAction* sender) {
  const std::optional<int> tag = TagOf(sender);
  if (tag && (*tag == 0 || *tag == 1)) output_->SaveToLibrary(*tag == 1);
}

void MainWindow::CopyToClipboardClick() {
  output_->CopyToClipboard();
}

}  // namespace pictarix
