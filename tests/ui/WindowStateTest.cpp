// The window as created: controls, layout, hints, Stay on Top and the about box.
#include <QMenuBar>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "ui/AboutBox.h"
#include "ui/IconPreview.h"
#include "ui/WindowFixture.h"

namespace pictarix::testing {
namespace {

using WindowStateTest = WindowTest;

bool Topmost(const TIconMain& w) {
  return w.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

TEST_F(WindowStateTest, StartsIdleWithEmptyCounters) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Pictarix 4"));
  EXPECT_EQ(Panel(0), QString());
  EXPECT_EQ(Panel(1), QStringLiteral("0 files"));
  EXPECT_EQ(Panel(2), QStringLiteral("0 icons"));
  EXPECT_TRUE(window->ListView1->isVisible());
  EXPECT_FALSE(window->Preview->isVisible());
  EXPECT_FALSE(window->StopBtn->isVisible());
  EXPECT_TRUE(window->ToolBar1->isEnabled());
  EXPECT_FALSE(window->RunInProgress());
  EXPECT_FALSE(window->Harvester().StopRequested);
  EXPECT_EQ(window->BtnImgs.Count(), 12);
  EXPECT_EQ(window->BtnImgs.Glyph(11).size(), QSize(16, 16));
  EXPECT_TRUE(window->Timer1->isActive());
  EXPECT_EQ(window->Timer1->interval(), 1000);
  EXPECT_TRUE(window->HelpFile().endsWith(QStringLiteral(".chm")));
  // The toolbar in its order, with the hints as tool tips.
  const QList<QAction*> buttons = window->ToolBar1->actions();
  QStringList hints;
  for (QAction* action : buttons) {
    if (!action->toolTip().isEmpty() && action->objectName().endsWith(QStringLiteral("Btn"))) {
      hints << action->toolTip();
    }
  }
  EXPECT_EQ(hints,
            QStringList({"Open files", "Open a directory", "Remove icons", "Clear", "Save"}));
}

TEST_F(WindowStateTest, ClockShowsTheTimeAfterATick) {
  window->Timer1Timer();
  EXPECT_TRUE(QTime::fromString(Panel(3), QStringLiteral("HH:mm:ss")).isValid() ||
              Panel(3).count(QLatin1Char(':')) == 2)
      << Panel(3).toStdString();
}

TEST_F(WindowStateTest, LayoutCentresThePreviewAndKeepsPanelWidths) {
  window->resize(600, 400);
  QApplication::processEvents();
  const QRect list = window->ListView1->geometry();
  EXPECT_EQ(window->Preview->x(), (list.width() - 34) / 2);
  EXPECT_EQ(window->Preview->y(), (list.height() - 34) / 2 + list.y());
  EXPECT_EQ(list.y(), 30);
  EXPECT_EQ(window->StatusBar1->Width(1), 65);
  EXPECT_EQ(window->StatusBar1->Width(2), 65);
  EXPECT_EQ(window->StatusBar1->Width(3), 80);
  EXPECT_EQ(window->StatusBar1->Width(0), window->StatusBar1->width() - 2 * 65 - 80);
  // StopBtn keeps its distance to the right and bottom edges of the client area.
  const QWidget* client = window->centralWidget();
  EXPECT_EQ(client->width() - window->StopBtn->geometry().right() - 1, 12);
  EXPECT_EQ(
      client->height() + window->StatusBar1->height() - window->StopBtn->geometry().bottom() - 1,
      27);
  EXPECT_EQ(window->StopBtn->size(), QSize(46, 36));
}

TEST_F(WindowStateTest, PreviewStaysAt34By34) {
  window->Preview->resize(100, 20);
  EXPECT_EQ(window->Preview->size(), QSize(34, 34));
  window->Preview->setGeometry(0, 0, 200, 200);
  EXPECT_EQ(window->Preview->size(), QSize(34, 34));
}

TEST_F(WindowStateTest, HintsGoToPanelZero) {
  QStatusTipEvent hint(QStringLiteral("Open files"));
  QApplication::sendEvent(window.get(), &hint);
  EXPECT_EQ(Panel(0), QStringLiteral("Open files"));
  window->ShowAppHint(QStringLiteral("Short|Long part"));
  EXPECT_EQ(Panel(0), QStringLiteral("Long part"));
  window->SearchDirectory1->showStatusText(window.get());  // as a highlighted menu item does
  EXPECT_EQ(Panel(0), QStringLiteral("Search for icons in a directory"));
}

TEST_F(WindowStateTest, HelpByContextIsHandledWithoutTheApplicationsHelp) {
  bool callHelp = true;
  EXPECT_TRUE(window->HandleHelp(0x0001, 10, callHelp));
  EXPECT_FALSE(callHelp);
  callHelp = true;
  EXPECT_TRUE(window->HandleHelp(0x0003, 10, callHelp));
  EXPECT_TRUE(callHelp);
}

TEST_F(WindowStateTest, StayOnTopPersistsAcrossARecreatedWindow) {
  EXPECT_TRUE(window->StayonTop1->isChecked());  // first run: topmost
  EXPECT_TRUE(Topmost(*window));
  window->StayonTop1->trigger();
  EXPECT_FALSE(window->StayonTop1->isChecked());
  EXPECT_FALSE(Topmost(*window));
  EXPECT_TRUE(window->isVisible());

  window = std::make_unique<TIconMain>(dialogs);
  EXPECT_FALSE(window->StayonTop1->isChecked());
  EXPECT_FALSE(Topmost(*window));
  window->StayonTop1->trigger();

  window = std::make_unique<TIconMain>(dialogs);
  EXPECT_TRUE(window->StayonTop1->isChecked());
  EXPECT_TRUE(Topmost(*window));
}

TEST_F(WindowStateTest, AboutBoxLeavesTheTopmostBandWhileOpen) {
  bool topmostWhileOpen = true;
  dialogs.OnModal = [&](QDialog& box) {
    topmostWhileOpen = Topmost(*window);
    EXPECT_EQ(&box, window->AboutBox);
  };
  window->About1->trigger();
  EXPECT_EQ(dialogs.ModalCount, 1);
  EXPECT_FALSE(topmostWhileOpen);
  EXPECT_TRUE(Topmost(*window));
  EXPECT_FALSE(window->AboutBox->isVisible());
}

TEST(AboutBoxTest, ShowsTheVersionAndLabelsTurnRedWhileHovered) {
  TAboutBox box;
  EXPECT_EQ(TAboutBox::VersionCaption(), QStringLiteral("Pictarix 4.5"));
  box.show();
  const QSize size = box.size();
  box.resize(size * 2);
  EXPECT_EQ(box.size(), size);  // fixed size
  THoverLabel* link = box.LinkLabel();
  EXPECT_EQ(link->Target().host(), QStringLiteral("www.example.org"));
  EXPECT_EQ(box.MailLabel()->Target().scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::black));
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(link, &enter);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::red));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(link, &leave);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::black));
}

}  // namespace
}  // namespace pictarix::testing
