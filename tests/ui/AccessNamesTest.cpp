// What a screen reader finds in each window the program shows: every control that can take the
// focus has a name (its text, its accessible name or its label's text), and a button showing
// only an icon a tooltip.
#include <QAbstractButton>
#include <QAccessible>
#include <QWidget>

#include "formats/ani/AnimatedCursorReader.h"
#include "support/CursorBuilder.h"
#include "support/IconFileBuilder.h"
#include "ui/WindowFixture.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/DetailsDialog.h"
#include "ui/dialogs/ManualViewer.h"
#include "ui/dialogs/ProblemsDialog.h"
#include "ui/window/Manual.h"
#include "ui/window/QtPaths.h"

namespace pictarix::testing {
namespace {

// The focusable widgets of `window`, shown or not, that a screen reader would find nameless, and
// its icon-only buttons without a tooltip.
QStringList Nameless(QWidget& window) {
  QStringList nameless;
  QList<QWidget*> widgets = window.findChildren<QWidget*>();
  widgets.prepend(&window);
  for (QWidget* widget : widgets) {
    // Buttons count also when only the mouse reaches them, as a toolbar's.
    const auto* button = qobject_cast<QAbstractButton*>(widget);
    if ((widget->focusPolicy() == Qt::NoFocus && button == nullptr) || widget->focusProxy())
      continue;
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(widget);
    const bool iconOnly = button != nullptr && button->text().isEmpty();
    if (access != nullptr && !access->text(QAccessible::Name).trimmed().isEmpty() &&
        !(iconOnly && widget->toolTip().isEmpty()))
      continue;
    nameless << QStringLiteral("%1 %2 in %3")
                    .arg(QString::fromLatin1(widget->metaObject()->className()),
                         widget->objectName(), window.windowTitle());
  }
  return nameless;
}

ListEntry AnimatedEntry() {
  const auto frame = CursorFile({{BlankDibImage(32, 32, 1), 1, 2}});
  const auto file =
      RiffFile({AniHeader(2, 2, 6, 3), List("fram", {Chunk("icon", frame), Chunk("icon", frame)})});
  auto icon = std::make_unique<AdvancedIcon>();
  EXPECT_EQ(ReadAnimatedCursor(file, *icon), "");
  return ListEntry{"busy", std::move(icon), -1, 0, "/cursors/busy.ani"};
}

TEST_F(WindowTest, EveryFocusableControlOfEveryWindowHasAName) {
  AddEntries(*window, 2);
  QStringList nameless = Nameless(*window);
  DetailsDialog details(window->Harvest().Entries[0], dialogs, window.get());
  const ListEntry busy = AnimatedEntry();
  DetailsDialog player(busy, dialogs, window.get());
  AboutDialog about(window.get());
  ManualViewer manual(ManualPath(ProgramPath()), window.get());
  ProblemsDialog problems({{QStringLiteral("/a.dll"), QStringLiteral("Unreadable")}}, window.get());
  for (QWidget* shown :
       std::initializer_list<QWidget*>{&details, &player, &about, &manual, &problems})
    nameless << Nameless(*shown);
  EXPECT_TRUE(nameless.isEmpty()) << nameless.join(QLatin1Char('\n')).toStdString();
}

}  // namespace
}  // namespace pictarix::testing
