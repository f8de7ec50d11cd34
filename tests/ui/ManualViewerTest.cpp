// The manual shown inside the program: rendered from its Markdown and searchable.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QTextBrowser>
#include <QWidget>

#include "ui/dialogs/ManualViewer.h"
#include "ui/window/Manual.h"
#include "ui/window/QtPaths.h"

namespace pictarix {
namespace {

TEST(ManualViewerTest, ShowsTheManualOnceAndFindsTextAround) {
  const QString manual = ManualPath(ProgramPath());  // the tests run from the build folder
  ASSERT_FALSE(manual.isEmpty());
  QWidget window;
  ASSERT_TRUE(ManualViewer::Show(manual, &window));
  ASSERT_TRUE(ManualViewer::Show(manual, &window));  // raised again, not opened twice
  const auto viewers = window.findChildren<ManualViewer*>();
  ASSERT_EQ(viewers.size(), 1);
  ManualViewer& viewer = *viewers.front();
  EXPECT_TRUE(viewer.Browser()->toPlainText().contains(QStringLiteral("Keyboard")));

  for (QAction* action : viewer.actions()) {
    if (action->shortcut() == QKeySequence(QKeySequence::Find)) action->trigger();  // Ctrl+F
  }
  EXPECT_TRUE(viewer.FindBox()->isVisible());
  viewer.FindBox()->setText(QStringLiteral("xcursorgen"));
  EXPECT_TRUE(viewer.FindNext());
  EXPECT_EQ(viewer.Browser()->textCursor().selectedText(), QStringLiteral("xcursorgen"));
  // Past the last match the search starts again at the top.
  for (int i = 0; i < 50; ++i) ASSERT_TRUE(viewer.FindNext());
  viewer.FindBox()->setText(QStringLiteral("no such words in the manual"));
  EXPECT_FALSE(viewer.FindNext());
  QTest::keyClick(viewer.FindBox(), Qt::Key_Escape);
  EXPECT_FALSE(viewer.FindBox()->isVisible());
  EXPECT_TRUE(viewer.isVisible());  // Esc closed the find bar only

  EXPECT_FALSE(ManualViewer::Show(QStringLiteral("/nonexistent/README.md"), &window));
}

}  // namespace
}  // namespace pictarix
