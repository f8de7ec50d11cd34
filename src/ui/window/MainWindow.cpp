#include "ui/window/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

#include "harvest/Harvester.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/ErrorBox.h"
#include "ui/list/IconListModel.h"
#include "ui/list/IconPreview.h"
#include "ui/list/ListFeatures.h"
#include "ui/window/KeyboardReach.h"
#include "ui/window/ListEdits.h"
#include "ui/window/MainControls.h"
#include "ui/window/OutputCommands.h"
#include "ui/window/QtPaths.h"
#include "ui/window/Settings.h"
#include "ui/window/StatusPanels.h"
#include "ui/window/WindowPlacement.h"

namespace pictarix {

QAction* MainWindow::WindowParts::Item(const char* name) const {
  return Window->findChild<QAction*>(QString::fromLatin1(name));
}

MainWindow::MainWindow(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs),
      harvester_(std::make_unique<Harvester>(*this)),
      runs_(*this, {[this] {
                      run_->BeginProcessing();
                      edits_->ShowUndoState();
                    },
                    [this] { run_->EndProcessing(); },
                    [this] {
                      run_->RunEnded();
                      edits_->ShowUndoState();
                    },
                    [this](const auto& work) { Guarded(work); }}) {
  setWindowTitle(kCaption);
  setWindowIcon(QIcon(ProgramIcon(32)));
  setWindowFlag(Qt::WindowContextHelpButtonHint, true);
  setAcceptDrops(true);  // dropped files and folders: HandleDroppedFiles
  parts_.Window = this;
  parts_.BtnImgs = &btnImgs_;
  // A module's "#n" group names sound the system's default beep, as the platform's reader does.
  harvester_->OnNumberedGroup = [] { QApplication::beep(); };
  CreateControls();
  CreateCommands();
  run_ =
      std::make_unique<WindowRun>(MainControls{*parts_.ToolBar, *parts_.TileView, *parts_.Preview,
                                               *parts_.StopBtn, *parts_.StatusLine},
                                  *harvester_, *model_, *parts_.Item("problems"));
  edits_ = std::make_unique<ListEdits>(*this, runs_, *run_,
                                       [this] { EnableForSelection(commands_, SelectedCount()); });
  intake_ = std::make_unique<WindowIntake>(*this, runs_, *run_,
                                           [this](const auto& work) { Guarded(work); });
  output_ = std::make_unique<OutputCommands>(
      dialogs_, *this, *harvester_, [this] { return SelectedEntries(); },
      parts_.StatusLine->Notice());
  parts_.Output = output_.get();
  parts_.Features = new ListFeatures(*this, dialogs_);
  parts_.Preview->hide();  // 7. placed until FormResize centres it
  parts_.Preview->move(176, 104);
  resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
  setMinimumSize(400, 260);
  // 8. Stay on Top from the settings, applied and written back.
  stayOnTop_->setChecked(
      ReadSettingBool(SettingsRoot::CurrentUser, kSettingsKey, kStayOnTopValue, true));
  StayOnTopClick();
  // After the flags: changing them resets the placement's claim that it includes the frame.
  RestorePlacement(*this);  // centred on the screen the first time
  includeCursors_->setChecked(
      ReadSettingBool(SettingsRoot::CurrentUser, kSettingsKey, kIncludeCursorsValue, false));
  harvester_->IncludeCursors = includeCursors_->isChecked();
  parts_.StopBtn->hide();  // 9.
  harvester_->StopRequested = false;
  // 10. The program's path as the key's unnamed value; a failure does not matter.
  try {
    WriteSettingString(SettingsRoot::CurrentUser, kSettingsKey, QString(), ProgramPath());
  } catch (...) {
  }
  parts_.AboutBox = new AboutDialog(this);  // created hidden
  parts_.AboutBox->hide();
}

MainWindow::~MainWindow() {
  // The list must not read the entries while the harvest goes.
  parts_.TileView->setModel(nullptr);
}

void MainWindow::CreateControls() {
  client_ = new QWidget(this);
  client_->installEventFilter(this);
  setCentralWidget(client_);

  parts_.ToolBar = CreateToolBar(*client_);

  model_ = new IconListModel(*harvester_, this);
  QListView* list = parts_.TileView = CreateTileView(*client_);
  list->setModel(model_);
  list->installEventFilter(this);  // Ctrl+C copies the picture, never the caption
  connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { Guarded([this] { TileSelectionChanged(); }); });

  setStatusBar(parts_.StatusLine = CreateStatusBar(*this));
  ShowCounters(*parts_.StatusLine, *harvester_);
  parts_.StopBtn = CreateStopButton(*client_);
  connect(parts_.StopBtn, &QPushButton::clicked, this,
          [this] { Guarded([this] { StopBtnClick(); }); });

  parts_.Preview = new IconPreview(client_);
  parts_.Preview->setObjectName(QStringLiteral("Preview"));

  parts_.PaceTimer = CreateClock(*this);
  connect(parts_.PaceTimer, &QTimer::timeout, this, [this] { Guarded([this] { PaceTick(); }); });
}

void MainWindow::CreateCommands() {
  // A child of the window, not of the list: disabling the list during Remove must not touch the
  // enabled state of the submenu's item.
  parts_.ContextMenu = new QMenu(this);
  parts_.ContextMenu->setObjectName(QStringLiteral("ContextMenu"));
  commands_ = BuildCommands({menuBar(), parts_.ContextMenu, parts_.ToolBar, btnImgs_, this},
                            [this](CommandHandler command, QAction* sender) {
                              Guarded([this, command, sender] { command(*this, sender); });
                            });
  stayOnTop_ = parts_.Item("stayOnTop");
  includeCursors_ = parts_.Item("includeCursors");
  parts_.Item("problems")->setEnabled(false);
  parts_.Item("undo")->setEnabled(false);
  connect(parts_.TileView, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    parts_.ContextMenu->popup(parts_.TileView->viewport()->mapToGlobal(at));
  });
  new KeyboardReach(
      *this, *parts_.TileView, *parts_.ContextMenu, [this] { return runs_.Running(); },
      [this] { Guarded([this] { StopBtnClick(); }); });
  EnableForSelection(commands_, 0);  // every selection-driven item starts disabled
}

void MainWindow::Guarded(const std::function<void()>& command) {
  RunGuarded(dialogs_, this, command);
}

// HarvestHost

void MainWindow::SetPanelText(int panel, const std::string& text) {
  parts_.StatusLine->SetText(panel, FromUtf8(text));
}

void MainWindow::ShowPreview(const IconGraphic& graphic) {
  parts_.Preview->ShowIcon(graphic);
}

void MainWindow::FileUnreadable(const std::filesystem::path& path, const std::string& reason) {
  run_->FileUnreadable({FromPath(path), FromUtf8(reason)});
}

// Layout

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) FormResize();
  if (watched == parts_.TileView && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    return true;  // Copy to Clipboard is disabled here: the list copies nothing either
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::FormResize() {
  LayOutMainControls(
      {*parts_.ToolBar, *parts_.TileView, *parts_.Preview, *parts_.StopBtn, *parts_.StatusLine},
      client_->size());
}

// Hints and help

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
    Guarded([this, &tip] { ShowAppHint(tip); });
    return true;
  }
  return QMainWindow::event(event);
}

void MainWindow::ShowAppHint(const QString& hint) {
  // The long part of a two-part hint follows the "|".
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  parts_.StatusLine->SetText(0, bar < 0 ? hint : hint.mid(bar + 1));
}

bool MainWindow::AnswerHelpRequest(unsigned command, std::uintptr_t, bool& callHelp) {
  constexpr unsigned kHelpContext = 0x0001, kHelpContextPopup = 0x0008;
  if (command == kHelpContext || command == kHelpContextPopup) {
    ContentsClick();
    callHelp = false;
  }
  return true;
}

// Showing, drops and closing

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  intake_->Shown();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  intake_->DragEnter(*event);
}

void MainWindow::dropEvent(QDropEvent* event) {
  intake_->Drop(*event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  harvester_->RequestStop();
  // During a run the window closes once the run has ended, at its next check of the flag.
  if (!runs_.MayClose()) {
    event->ignore();
    return;
  }
  StorePlacement(*this);
  QMainWindow::closeEvent(event);
}

}  // namespace pictarix
