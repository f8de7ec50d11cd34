#include "ui/IconMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>

#include "harvest/Harvester.h"
#include "ui/AboutBox.h"
#include "ui/Dialogs.h"
#include "ui/ErrorBox.h"
#include "ui/IconListModel.h"
#include "ui/IconPreview.h"
#include "ui/ListFeatures.h"
#include "ui/Settings.h"
#include "ui/StatusPanels.h"
#include "ui/Utilities.h"

namespace pictarix {

namespace {

constexpr int kToolBarHeight = 29;
constexpr int kListTop = 30;
constexpr QSize kStopBtnSize(46, 36);
// StopBtn keeps its designed distance to the right and bottom edges of the client area.
constexpr int kStopBtnRight = TIconMain::kClientWidth - 362 - 46;
constexpr int kStopBtnBottom = TIconMain::kClientHeight - 197 - 36;
constexpr int kCounterPanelWidth = 65;
constexpr int kClockPanelWidth = 80;

}  // namespace

TIconMain::TIconMain(TDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), harvester_(std::make_unique<THarvester>(*this)) {
  setWindowTitle(kCaption);
  setWindowIcon(QIcon(ProgramIcon(32)));
  setWindowFlag(Qt::WindowContextHelpButtonHint, true);
  setAcceptDrops(true);  // dropped files and folders: HandleDroppedFiles

  // 1. FileCount is 0 in a new harvest. 2./3. Help file and routing (HandleHelp, ShowAppHint
  // through status tips).
  helpFile_ = HelpFileOf(ProgramPath());
  // A module's "#n" group names sound the system's default beep, as the platform's reader does.
  harvester_->IconLibrary.OnMessageBeep = [] { QApplication::beep(); };

  CreateControls();
  CreateMenus();
  CreatePopupMenu();
  CreateToolBar();
  ListFeatures = new TListFeatures(*this, dialogs_);

  // 7. The preview tile, hidden, placed until FormResize centres it.
  Preview->hide();
  Preview->move(176, 104);

  resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
  setMinimumSize(400, 260);
  if (const QScreen* display = screen()) {
    move(display->availableGeometry().center() - rect().center());
  }

  // 8. Stay on Top from the settings, applied and written back.
  StayonTop1->setChecked(ReadRegBool(TRegRoot::CurrentUser, kSettingsKey, kStayOnTopValue, true));
  StayonTop1Click();

  // 9.
  StopBtn->hide();
  harvester_->StopRequested = false;

  // 10. The program's path as the key's unnamed value; a failure does not matter.
  try {
    WriteRegString(TRegRoot::CurrentUser, kSettingsKey, QString(), ProgramPath());
  } catch (...) {
  }

  AboutBox = new TAboutBox(this);  // created hidden
  AboutBox->hide();
}

TIconMain::~TIconMain() {
  // The list must not read the entries while the harvest goes.
  ListView1->setModel(nullptr);
}

void TIconMain::CreateControls() {
  client_ = new QWidget(this);
  client_->installEventFilter(this);
  setCentralWidget(client_);

  ToolBar1 = new QToolBar(client_);
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setFixedHeight(kToolBarHeight);
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(TBtnImgs::kSide, TBtnImgs::kSide));

  model_ = new TIconListModel(*harvester_, this);
  ListView1 = new QListView(client_);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->setViewMode(QListView::IconMode);
  ListView1->setMovement(QListView::Static);  // auto-arranged
  ListView1->setResizeMode(QListView::Adjust);
  ListView1->setFlow(QListView::LeftToRight);
  ListView1->setWrapping(true);
  ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
  ListView1->setUniformItemSizes(true);
  ListView1->setLayoutMode(QListView::Batched);
  ListView1->setBatchSize(2000);
  ListView1->setIconSize(QSize(32, 32));
  ListView1->setGridSize(QSize(76, 70));
  ListView1->setWordWrap(true);
  ListView1->setTextElideMode(Qt::ElideRight);
  ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
  ListView1->setModel(model_);
  connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { Guarded([this] { ListView1SelectItem(); }); });

  StatusBar1 = new TStatusPanels(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->SetWidth(1, kCounterPanelWidth);
  StatusBar1->SetWidth(2, kCounterPanelWidth);
  setStatusBar(StatusBar1);
  ShowCounters();

  StopBtn = new QPushButton(client_);
  StopBtn->setObjectName(QStringLiteral("StopBtn"));
  StopBtn->setIcon(QIcon(StopGlyph()));
  StopBtn->setFixedSize(kStopBtnSize);
  StopBtn->setToolTip(QStringLiteral("Stop processing"));
  StopBtn->setStatusTip(QStringLiteral("Stop processing"));
  connect(StopBtn, &QPushButton::clicked, this, [this] { Guarded([this] { StopBtnClick(); }); });

  Preview = new TIconPreview(client_);
  Preview->setObjectName(QStringLiteral("Preview"));

  // The Delete key removes the selected entries wherever the focus is in the window.
  auto* deleteKey = new QShortcut(QKeySequence(Qt::Key_Delete), this);
  deleteKey->setContext(Qt::WindowShortcut);
  connect(deleteKey, &QShortcut::activated, this, [this] { Guarded([this] { RemoveClick(); }); });

  Timer1 = new QTimer(this);
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
  Timer1->start();
}

void TIconMain::ShowCounters() {
  StatusBar1->SetText(1, QString::number(harvester_->FileCount) + QStringLiteral(" files"));
  StatusBar1->SetText(2, QString::number(harvester_->Entries.size()) + QStringLiteral(" icons"));
}

void TIconMain::Guarded(const std::function<void()>& command) {
  RunGuarded(dialogs_, this, command);
}

// THarvestHost

void TIconMain::SetPanelText(int panel, const std::string& text) {
  StatusBar1->SetText(panel, FromUtf8(text));
}

void TIconMain::ShowPreview(const THiResIcon& graphic) {
  Preview->ShowIcon(graphic);
}

void TIconMain::ProcessMessages() {
  TakeNewRows(false);
  QCoreApplication::processEvents();
}

void TIconMain::TakeNewRows(bool now) {
  if (model_->PendingRows() <= 0) return;
  // A hidden list has no use for rows; while it is shown during a run it takes them in batches.
  if (!now && (ListView1->isHidden() ||
               (sinceBatch_.isValid() && sinceBatch_.elapsed() < kBatchIntervalMs))) {
    return;
  }
  model_->TakeNewRows();
  sinceBatch_.start();
}

// Layout

bool TIconMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) FormResize();
  return QMainWindow::eventFilter(watched, event);
}

void TIconMain::FormResize() {
  const int width = client_->width();
  const int height = client_->height();
  ToolBar1->setGeometry(0, 0, width, kToolBarHeight);
  ListView1->setGeometry(0, kListTop, width, std::max(0, height - kListTop));
  // The tile sits in the middle of the list area (quotients truncated toward zero).
  Preview->move((ListView1->width() - Preview->width()) / 2,
                (ListView1->height() - Preview->height()) / 2 + ListView1->y());
  // The client area of the design includes the status bar below this widget.
  const int clientHeight = height + StatusBar1->height();
  StopBtn->move(width - kStopBtnRight - kStopBtnSize.width(),
                clientHeight - kStopBtnBottom - kStopBtnSize.height());
  StatusBar1->SetWidth(3, kClockPanelWidth);
  StatusBar1->SetWidth(0, StatusBar1->width() - 2 * StatusBar1->Width(1) - StatusBar1->Width(3));
}

// Hints and help

bool TIconMain::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
    Guarded([this, &tip] { ShowAppHint(tip); });
    return true;
  }
  return QMainWindow::event(event);
}

void TIconMain::ShowAppHint(const QString& hint) {
  // The long part of a two-part hint follows the "|".
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  StatusBar1->SetText(0, bar < 0 ? hint : hint.mid(bar + 1));
}

bool TIconMain::HandleHelp(unsigned command, std::uintptr_t data, bool& callHelp) {
  constexpr unsigned kHelpContext = 0x0001;
  constexpr unsigned kHelpContextPopup = 0x0008;
  if (command == kHelpContext || command == kHelpContextPopup) {
    ShowHtmlHelp(nullptr, helpFile_, kHhHelpContext, data);
    callHelp = false;
  }
  return true;
}

// Closing

void TIconMain::closeEvent(QCloseEvent* event) {
  harvester_->StopRequested = true;
  if (runInProgress_) {
    // The run ends at its next check; EndProcessing then closes the window.
    closeAfterRun_ = true;
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

}  // namespace pictarix
