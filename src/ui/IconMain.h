#pragma once
// TIconMain: the program's single window. It owns the harvest (with the icon library, the stop
// flag and the file counter), shows the entries in ListView1, and runs every command of the menus
// and the toolbar inside the default error box's guard.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <QElapsedTimer>
#include <QMainWindow>
#include <QStringList>

#include "harvest/HarvestHost.h"
#include "ui/Artwork.h"
#include "ui/OutputDialogs.h"

class QAction;
class QListView;
class QMenu;
class QPushButton;
class QTimer;
class QToolBar;

namespace pictarix {

class TAboutBox;
class TDdeServer;
class TDialogs;
class THarvester;
class TIconListModel;
class TIconPreview;
class TListFeatures;
class TStatusPanels;

class TIconMain : public QMainWindow, public THarvestHost {
  Q_OBJECT

 public:
  static inline const QString kCaption = QStringLiteral("Pictarix 4");
  static constexpr int kClientWidth = 420;
  static constexpr int kClientHeight = 260;
  // Rows are taken into the list at most this often while it is shown during a run.
  static constexpr int kBatchIntervalMs = 200;

  // FormCreate.
  explicit TIconMain(TDialogs& dialogs, QWidget* parent = nullptr);
  // FormDestroy.
  ~TIconMain() override;

  // THarvestHost
  void SetPanelText(int panel, const std::string& text) override;
  void ShowPreview(const THiResIcon& graphic) override;
  void ProcessMessages() override;
  bool WantsTiles() const override { return true; }

  // Commands (each also reachable from its menu item or button, inside the error guard).
  void OpenFiles1Click();
  void SearchDirectory1Click();
  void Exit1Click();
  void SelectAll1Click();
  void InvertSelection1Click();
  void RemoveClick();
  void Clear1Click();
  void StayonTop1Click();
  void About1Click();
  void StopBtnClick();
  // Output commands (IconMainOutput.cpp).
  void SaveAs1Click();
  void BatchSaveClick(QAction* sender);
  void SaveLib1Click(QAction* sender);
  void CopyClipBrd1Click();

  void BeginProcessing();
  void EndProcessing();
  void ClearList();
  void ListView1SelectItem();
  void FormResize();
  void Timer1Timer();
  void ShowAppHint(const QString& hint);
  // Help requests by context number go to HTML Help; `callHelp` tells the application not to
  // run its own help. Always true.
  bool HandleHelp(unsigned command, std::uintptr_t data, bool& callHelp);

  // Start-up and intake of names from the command line, drops and the DDE stand-in.
  // The command line's paths, harvested when the window is first activated.
  void SetCommandLine(const QStringList& arguments) { commandLine_ = arguments; }
  void FormActivate();
  void ProcessCommandLine();
  void HandleDroppedFiles(const QStringList& names);
  void TarvoExecuteMacro(const QStringList& lines);
  // The macros `server` receives run as TarvoExecuteMacro of this window.
  void ServeTarvo(TDdeServer& server);
  // True until the first activation has taken up the command line.
  bool StartupPending = true;

  // Runs `command` inside the guard that shows the default error box.
  void Guarded(const std::function<void()>& command);

  // Set by BeginProcessing, cleared by the EndProcessing that ends the run: covers the running
  // and the stopping state. While set, nothing starts a run or changes the list.
  bool RunInProgress() const { return runInProgress_; }
  THarvester& Harvester() { return *harvester_; }
  TIconListModel& ListModel() { return *model_; }
  // Number of selected entries.
  int SelectedCount() const;
  // Flags of the selected entries, one per entry of the harvest.
  std::vector<bool> SelectedFlags() const;
  // Flags of the selected rows, one per row of the list as filtered.
  std::vector<bool> SelectedRowFlags() const;
  const QString& HelpFile() const { return helpFile_; }

  // Components, by the names the handlers use.
  TStatusPanels* StatusBar1 = nullptr;
  QToolBar* ToolBar1 = nullptr;
  QListView* ListView1 = nullptr;
  QPushButton* StopBtn = nullptr;
  TIconPreview* Preview = nullptr;
  QTimer* Timer1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  TAboutBox* AboutBox = nullptr;
  TListFeatures* ListFeatures = nullptr;  // tile size, filter, details, export, drag out
  TBtnImgs BtnImgs;
  // The output commands' file dialogs; each keeps what its last use left.
  TFileDialogRequest SavePicDlg1 = MakeSavePicDlg();
  TFileDialogRequest SaveLibDlg = MakeSaveLibDlg();
  TFileDialogRequest OpenLibDlg = MakeOpenLibDlg();

  QAction* FileBtn = nullptr;
  QAction* DirBtn = nullptr;
  QAction* DelBtn = nullptr;
  QAction* ClearBtn = nullptr;
  QAction* SaveBtn = nullptr;

  QAction* OpenFiles1 = nullptr;
  QAction* SearchDirectory1 = nullptr;
  QAction* Exit1 = nullptr;
  QAction* SelectAll1 = nullptr;
  QAction* InvertSelection1 = nullptr;
  QAction* SaveAs2 = nullptr;
  QAction* BatchSaveAs2 = nullptr;
  QAction* AsIcons2 = nullptr;
  QAction* AsGIFs1 = nullptr;
  QAction* AsBitmaps2 = nullptr;
  QAction* AsJPEGs2 = nullptr;
  QAction* SaveLib2 = nullptr;
  QAction* AddLib2 = nullptr;
  QAction* Remove1 = nullptr;
  QAction* CopyClipBrd2 = nullptr;
  QAction* Clear1 = nullptr;
  QAction* StayonTop1 = nullptr;
  QAction* About1 = nullptr;

  QAction* SaveAs1 = nullptr;
  QAction* BatchSaveAs1 = nullptr;
  QAction* AsIcons1 = nullptr;
  QAction* AsGIFs2 = nullptr;
  QAction* AsBitmaps1 = nullptr;
  QAction* AsJpegs1 = nullptr;
  QAction* SaveLib1 = nullptr;
  QAction* AddLib1 = nullptr;
  QAction* Remove2 = nullptr;
  QAction* CopyClipBrd1 = nullptr;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateControls();
  void CreateMenus();
  void CreatePopupMenu();
  void CreateToolBar();
  QAction* MakeAction(QObject* owner, const char* name, const QString& caption, const QString& hint,
                      int glyph, const std::function<void()>& handler);
  // Enables the selection-driven items for `selected` entries.
  void UpdateSelectionItems(int selected);
  void SetTopmost(bool topmost);
  // Takes the harvest's new entries into the list when due (or always with `now`).
  void TakeNewRows(bool now);
  void ShowCounters();
  // FormActivate once the events now pending have been handled.
  void QueueFormActivate();

  TDialogs& dialogs_;
  std::unique_ptr<THarvester> harvester_;
  TIconListModel* model_ = nullptr;
  QWidget* client_ = nullptr;
  QString helpFile_;
  bool runInProgress_ = false;
  bool closeAfterRun_ = false;
  QStringList commandLine_;
  QElapsedTimer sinceBatch_;
};

}  // namespace pictarix
