#pragma once
// MainWindow: the program's single window. It owns the harvest (with the icon library, the stop
// flag and the file counter), shows the entries in TileView, and runs every command of the menus
// and the toolbar inside the default error box's guard. The work lives in RunControl (one run at
// a time), WindowRun (the busy state of a run and its results taken in batches), WindowIntake
// (names from the command line, drops and macros) and OutputCommands; a new command is a row in
// MainCommands.cpp and a handler here.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QMainWindow>

#include "harvest/HarvestHost.h"
#include "output/EntrySelection.h"
#include "ui/dialogs/ProblemsDialog.h"
#include "ui/window/Artwork.h"
#include "ui/window/MainCommands.h"
#include "ui/window/RunControl.h"
#include "ui/window/WindowIntake.h"
#include "ui/window/WindowRun.h"

class QAction;
class QListView;
class QMenu;
class QPushButton;
class QTimer;
class QToolBar;

namespace pictarix {

class AboutDialog;
class Dialogs;
class Harvester;
class IconListModel;
class IconPreview;
class ListEdits;
class ListFeatures;
class OutputCommands;
class StatusPanels;

class MainWindow : public QMainWindow, public HarvestHost {
  Q_OBJECT

 public:
  static inline const QString kCaption = QStringLiteral("Pictarix 4");
  static constexpr int kClientWidth = 420;
  static constexpr int kClientHeight = 260;

  explicit MainWindow(Dialogs& dialogs, QWidget* parent = nullptr);  // FormCreate
  ~MainWindow() override;                                            // FormDestroy

  // HarvestHost
  void SetPanelText(int panel, const std::string& text) override;
  void ShowPreview(const IconGraphic& graphic) override;
  bool WantsTiles() const override { return true; }
  void FileUnreadable(const std::filesystem::path& path, const std::string& reason) override;

  // Commands (each also reachable from its menu item or button, inside the error guard).
  void OpenFilesClick();
  void OpenDirectoryClick();
  void ExitClick();
  void SelectAllClick();
  void InvertSelectionClick();
  void RemoveClick();
  void ClearClick();
  // Brings back what the last Remove, Clear or opening of files took (never during a run).
  void UndoClick();
  void ProblemsClick();
  void StayOnTopClick();
  // Include cursors: read by the harvest when the next run begins, and remembered.
  void IncludeCursorsClick();
  void ContentsClick();
  void AboutClick();
  void StopBtnClick();
  void SaveAsClick();
  void BatchSaveClick(QAction* sender);
  void SaveToLibraryClick(QAction* sender);
  void CopyToClipboardClick();

  // Empties the list, kept for Undo; `newList`: files are opened in its place.
  void ClearList(bool newList = false);
  void TileSelectionChanged();
  void FormResize();
  void PaceTick();
  void ShowAppHint(const QString& hint);
  // Context help requests open the manual; `callHelp` tells the application not to run its own
  // help. Always true.
  bool AnswerHelpRequest(unsigned command, std::uintptr_t data, bool& callHelp);

  // Names from the command line, drops and macros.
  WindowIntake& Intake() { return *intake_; }

  void Guarded(const std::function<void()>& command);  // inside the default error box's guard

  bool RunInProgress() const { return runs_.Running(); }
  Harvester& Harvest() { return *harvester_; }
  IconListModel& ListModel() { return *model_; }
  int SelectedCount() const;
  // The selected entries, in list order (the list may be filtered).
  EntrySelection SelectedEntries() const;
  // Flags of the selected entries, one per entry of the harvest, as Remove takes them.
  std::vector<bool> SelectedFlags() const;
  // The files the last run could not read.
  const std::vector<UnreadableFile>& Problems() const { return run_->Problems(); }

  // The window's parts by the names the handlers use, for tests and benchmarks.
  struct WindowParts {
    StatusPanels* StatusLine = nullptr;
    QToolBar* ToolBar = nullptr;
    QListView* TileView = nullptr;
    QPushButton* StopBtn = nullptr;
    IconPreview* Preview = nullptr;
    QTimer* PaceTimer = nullptr;
    QMenu* ContextMenu = nullptr;
    AboutDialog* AboutBox = nullptr;
    OutputCommands* Output = nullptr;
    ListFeatures* Features = nullptr;  // tile size, filter, details, export, drag out
    const ButtonArtwork* BtnImgs = nullptr;
    const QObject* Window = nullptr;
    // A menu item or toolbar action by its component name.
    QAction* Item(const char* name) const;
  };
  const WindowParts& Parts() const { return parts_; }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateControls();
  void CreateCommands();

  Dialogs& dialogs_;
  std::unique_ptr<Harvester> harvester_;
  RunControl runs_;
  std::unique_ptr<WindowRun> run_;
  std::unique_ptr<ListEdits> edits_;
  std::unique_ptr<WindowIntake> intake_;
  ButtonArtwork btnImgs_;
  WindowParts parts_;
  std::unique_ptr<OutputCommands> output_;
  std::vector<BuiltCommand> commands_;
  IconListModel* model_ = nullptr;
  QWidget* client_ = nullptr;
  QAction* stayOnTop_ = nullptr;
  QAction* includeCursors_ = nullptr;
};

}  // namespace pictarix
