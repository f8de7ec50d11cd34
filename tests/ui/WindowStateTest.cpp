// The window as created: controls, layout, hints, Stay on Top and the about box.
#include <QClipboard>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "ui/WindowFixture.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/list/IconPreview.h"
#include "ui/window/Settings.h"

namespace pictarix::testing {
namespace {

using WindowStateTest = WindowTest;

bool Topmost(const MainWindow& w) {
  return w.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

TEST_F(WindowStateTest, StartsIdleWithEmptyCounters) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Pictarix 4"));
  EXPECT_EQ(Panel(0), QString());
  EXPECT_EQ(Panel(1), QStringLiteral("0 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("0 icons"));
  EXPECT_TRUE(window->Parts().TileView->isVisible());
  EXPECT_FALSE(window->Parts().Preview->isVisible());
  EXPECT_FALSE(window->Parts().StopBtn->isVisible());
  EXPECT_TRUE(window->Parts().ToolBar->isEnabled());
  EXPECT_FALSE(window->RunInProgress());
  EXPECT_FALSE(window->Harvest().StopRequested);
  EXPECT_EQ(window->Parts().BtnImgs->Count(), 12);
  EXPECT_EQ(window->Parts().BtnImgs->Glyph(11).size(), QSize(16, 16));
  EXPECT_TRUE(window->Parts().PaceTimer->isActive());
  EXPECT_EQ(window->Parts().PaceTimer->interval(), 1000);
  // The toolbar in its order, with the hints as tool tips.
  const QList<QAction*> buttons = window->Parts().ToolBar->actions();
  QStringList hints;
  for (QAction* action : buttons) {
    if (!action->toolTip().isEmpty() && action->objectName().endsWith(QStringLiteral("Button"))) {
      hints << action->toolTip();
    }
  }
  EXPECT_EQ(hints,
            QStringList({"Open files", "Open a directory", "Remove icons", "Clear", "Save"}));
}

TEST_F(WindowStateTest, ClockShowsTheTimeAfterATick) {
  window->PaceTick();
  EXPECT_TRUE(QTime::fromString(Panel(3), QStringLiteral("HH:mm:ss")).isValid() ||
              Panel(3).count(QLatin1Char(':')) == 2)
      << Panel(3).toStdString();
}

TEST_F(WindowStateTest, LayoutCentresThePreviewAndKeepsPanelWidths) {
  window->resize(600, 400);
  QApplication::processEvents();
  const QRect list = window->Parts().TileView->geometry();
  EXPECT_EQ(window->Parts().Preview->x(), (list.width() - 34) / 2);
  EXPECT_EQ(window->Parts().Preview->y(), (list.height() - 34) / 2 + list.y());
  EXPECT_EQ(list.y(), 30);
  EXPECT_EQ(window->Parts().StatusLine->Width(1), 65);
  EXPECT_EQ(window->Parts().StatusLine->Width(2), 65);
  EXPECT_EQ(window->Parts().StatusLine->Width(3), 80);
  EXPECT_EQ(window->Parts().StatusLine->Width(0),
            window->Parts().StatusLine->width() - 2 * 65 - 80);
  // StopBtn keeps its distance to the right and bottom edges of the client area.
  const QWidget* client = window->centralWidget();
  EXPECT_EQ(client->width() - window->Parts().StopBtn->geometry().right() - 1, 12);
  EXPECT_EQ(client->height() + window->Parts().StatusLine->height() -
                window->Parts().StopBtn->geometry().bottom() - 1,
            27);
  EXPECT_EQ(window->Parts().StopBtn->size(), QSize(46, 36));
}

TEST_F(WindowStateTest, PreviewStaysAt34By34) {
  window->Parts().Preview->resize(100, 20);
  EXPECT_EQ(window->Parts().Preview->size(), QSize(34, 34));
  window->Parts().Preview->setGeometry(0, 0, 200, 200);
  EXPECT_EQ(window->Parts().Preview->size(), QSize(34, 34));
}

TEST_F(WindowStateTest, HintsGoToPanelZero) {
  QStatusTipEvent hint(QStringLiteral("Open files"));
  QApplication::sendEvent(window.get(), &hint);
  EXPECT_EQ(Panel(0), QStringLiteral("Open files"));
  window->ShowAppHint(QStringLiteral("Short|Long part"));
  EXPECT_EQ(Panel(0), QStringLiteral("Long part"));
  window->Parts()
      .Item("openDirectory")
      ->showStatusText(window.get());  // as a highlighted menu item does
  EXPECT_EQ(Panel(0), QStringLiteral("Search for icons in a directory"));
}

TEST_F(WindowStateTest, OnlyContextHelpRequestsAreHandled) {
  bool callHelp = true;
  EXPECT_TRUE(window->AnswerHelpRequest(0x0003, 10, callHelp));
  EXPECT_TRUE(callHelp);
  EXPECT_TRUE(dialogs.Documents.empty());
}

TEST_F(WindowStateTest, StayOnTopPersistsAcrossARecreatedWindow) {
  EXPECT_TRUE(window->Parts().Item("stayOnTop")->isChecked());  // first run: topmost
  EXPECT_TRUE(Topmost(*window));
  window->Parts().Item("stayOnTop")->trigger();
  EXPECT_FALSE(window->Parts().Item("stayOnTop")->isChecked());
  EXPECT_FALSE(Topmost(*window));
  EXPECT_TRUE(window->isVisible());

  window = std::make_unique<MainWindow>(dialogs);
  EXPECT_FALSE(window->Parts().Item("stayOnTop")->isChecked());
  EXPECT_FALSE(Topmost(*window));
  window->Parts().Item("stayOnTop")->trigger();

  window = std::make_unique<MainWindow>(dialogs);
  EXPECT_TRUE(window->Parts().Item("stayOnTop")->isChecked());
  EXPECT_TRUE(Topmost(*window));
}

TEST_F(WindowStateTest, PlacementIsRememberedAcrossWindows) {
  window->setGeometry(40, 50, 600, 400);
  window->close();
  window = std::make_unique<MainWindow>(dialogs);
  EXPECT_EQ(window->geometry(), QRect(40, 50, 600, 400));
  window->setWindowState(Qt::WindowMaximized);
  window->close();
  window = std::make_unique<MainWindow>(dialogs);
  EXPECT_TRUE(window->windowState().testFlag(Qt::WindowMaximized));
}

// A record written at twice the scale (half as many device-independent pixels across), which
// Qt itself refuses: the window keeps the same share of the screen and stays maximised.
TEST_F(WindowStateTest, PlacementFromAnotherScaleIsRescaled) {
  window->setGeometry(40, 50, 600, 400);
  QByteArray record = window->saveGeometry();
  const int width = window->screen()->geometry().width();
  ASSERT_GE(record.size(), 50);
  for (int i = 0; i < 4; ++i) record[46 + i] = char((width / 2) >> (24 - 8 * i));
  WriteSettingValue(SettingsRoot::CurrentUser, kSettingsKey, QStringLiteral("WindowGeometry"),
                    record);
  window = std::make_unique<MainWindow>(dialogs);
  EXPECT_EQ(window->size(), QSize(1200, 800).boundedTo(window->screen()->availableSize()));
  record[44] = 1;  // maximised
  WriteSettingValue(SettingsRoot::CurrentUser, kSettingsKey, QStringLiteral("WindowGeometry"),
                    record);
  window = std::make_unique<MainWindow>(dialogs);
  EXPECT_TRUE(window->windowState().testFlag(Qt::WindowMaximized));
}

TEST_F(WindowStateTest, KeysReachTheCommandsAndCopyNeverCopiesTheCaption) {
  EXPECT_EQ(window->Parts().Item("openFiles")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
  EXPECT_EQ(window->Parts().Item("openDirectory")->shortcut(),
            QKeySequence(QStringLiteral("Ctrl+Shift+O")));
  EXPECT_EQ(window->Parts().Item("contents")->shortcut(), QKeySequence(Qt::Key_F1));
  for (QAction* menu : window->menuBar()->actions()) {
    EXPECT_TRUE(menu->text().startsWith(QLatin1Char('&'))) << menu->text().toStdString();
  }
  AddEntries(*window, 2);
  window->Parts().TileView->setCurrentIndex(window->ListModel().index(0));
  window->Parts().TileView->selectAll();  // two tiles: Copy to Clipboard is disabled
  QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  QTest::keyClick(window->Parts().TileView, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
}

TEST_F(WindowStateTest, ContentsOpensTheManual) {
  window->Parts().Item("contents")->trigger();
  ASSERT_EQ(dialogs.Documents.size(), 1u);  // the tests run from the build folder
  EXPECT_TRUE(dialogs.Documents[0].toLocalFile().endsWith(QStringLiteral("/README.md")));
  bool callHelp = true;
  EXPECT_TRUE(window->AnswerHelpRequest(0x0001, 10, callHelp));
  EXPECT_FALSE(callHelp);
  EXPECT_EQ(dialogs.Documents.size(), 2u);
}

TEST_F(WindowStateTest, AboutBoxLeavesTheTopmostBandWhileOpen) {
  bool topmostWhileOpen = true;
  dialogs.OnModal = [&](QDialog& box) {
    topmostWhileOpen = Topmost(*window);
    EXPECT_EQ(&box, window->Parts().AboutBox);
  };
  window->Parts().Item("about")->trigger();
  EXPECT_EQ(dialogs.ModalCount, 1);
  EXPECT_FALSE(topmostWhileOpen);
  EXPECT_TRUE(Topmost(*window));
  EXPECT_FALSE(window->Parts().AboutBox->isVisible());
}

TEST(AboutBoxTest, ShowsTheVersionAndLabelsTurnRedWhileHovered) {
  AboutDialog box;
  EXPECT_EQ(AboutDialog::VersionCaption(), QStringLiteral("Pictarix 4.5"));
  box.show();
  const QSize size = box.size();
  box.resize(size * 2);
  EXPECT_EQ(box.size(), size);  // fixed size
  HoverLabel* link = box.LinkLabel();
  EXPECT_EQ(link->Target().host(), QStringLiteral("www.example.org"));
  EXPECT_EQ(box.MailLabel()->Target().scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::black));
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(link, &enter);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::red));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(link, &leave);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_TRUE(link->focusPolicy() & Qt::TabFocus);  // reached from the keyboard, shown as hovered
  QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
  QApplication::sendEvent(link, &focusIn);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::red));
}

}  // namespace
}  // namespace pictarix::testing
