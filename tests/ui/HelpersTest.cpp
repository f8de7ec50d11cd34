#include <gtest/gtest.h>

#include <fstream>

#include <QLocale>
#include <QMessageBox>

#include "support/TempDir.h"
#include "ui/FakeDialogs.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/ErrorBox.h"
#include "ui/dialogs/FolderPicker.h"
#include "ui/window/ClockText.h"
#include "ui/window/QtPaths.h"

namespace pictarix::testing {
namespace {

TEST(ErrorBoxTest, AppendsADotOnlyAfterCharactersThatSortAfterIt) {
  EXPECT_EQ(
      ErrorBoxText(QStringLiteral("Iconlibraries with more than 32767 Icons are not possible")),
      QStringLiteral("Iconlibraries with more than 32767 Icons are not possible."));
  EXPECT_EQ(ErrorBoxText(QStringLiteral("Done.")), QStringLiteral("Done."));
  EXPECT_EQ(ErrorBoxText(QStringLiteral("Stop!")), QStringLiteral("Stop!"));
  EXPECT_EQ(ErrorBoxText(QStringLiteral("(x)")), QStringLiteral("(x)"));
  EXPECT_EQ(ErrorBoxText(QStringLiteral("a-")), QStringLiteral("a-"));
  EXPECT_EQ(ErrorBoxText(QStringLiteral("disk 0")), QStringLiteral("disk 0."));
  EXPECT_EQ(ErrorBoxText(QStringLiteral("path/")), QStringLiteral("path/."));
  EXPECT_EQ(ErrorBoxText(QStringLiteral("caf\u00e9")), QStringLiteral("caf\u00e9."));
  EXPECT_EQ(ErrorBoxText(QString()), QString());
}

TEST(ErrorBoxTest, GuardShowsTheMessageTitledWithTheCaptionAndGoesOn) {
  FakeDialogs dialogs;
  QWidget window;
  window.setWindowTitle(QStringLiteral("Pictarix 4"));
  int after = 0;
  RunGuarded(dialogs, &window, [] { throw std::runtime_error("Cannot open file \"x\""); });
  RunGuarded(dialogs, &window, [] { throw std::runtime_error("Bad icon"); });
  RunGuarded(dialogs, &window, [&after] { ++after; });
  ASSERT_EQ(dialogs.Errors.size(), 2u);
  EXPECT_EQ(dialogs.Errors[0].Title, QStringLiteral("Pictarix 4"));
  EXPECT_EQ(dialogs.Errors[0].Message, QStringLiteral("Cannot open file \"x\""));
  EXPECT_EQ(dialogs.Errors[1].Message, QStringLiteral("Bad icon."));
  EXPECT_EQ(after, 1);
}

TEST(ClockTextTest, LongTimeTextHasNoZoneName) {
  const QTime time(14, 5, 9);
  for (const char* name : {"en_US", "de_DE", "C", "ja_JP"}) {
    const QLocale locale(QString::fromLatin1(name));
    const QString text = LongTimeText(time, locale);
    EXPECT_TRUE(text.contains(QStringLiteral("05"))) << name << ": " << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("09"))) << name << ": " << text.toStdString();
    EXPECT_FALSE(text.endsWith(QLatin1Char(' '))) << name;
    EXPECT_FALSE(text.contains(QStringLiteral("UTC")) || text.contains(QStringLiteral("GMT")))
        << name << ": " << text.toStdString();
  }
  EXPECT_EQ(LongTimeText(time, QLocale(QStringLiteral("de_DE"))), QStringLiteral("14:05:09"));
}

TEST(FileDialogFilterTest, FilterBecomesQtNameFiltersWhereAllFilesMatchesEveryName) {
  EXPECT_EQ(NameFiltersOf(
                QStringLiteral("EXE;DLL|*.EXE;*.DLL|EXE files(*.EXE)|*.exe|All Files(*.*)|*.*")),
            QStringList({QStringLiteral("EXE;DLL (*.EXE *.DLL)"),
                         QStringLiteral("EXE files(*.EXE) (*.exe)"),
                         QStringLiteral("All Files(*.*) (*)")}));
}

TEST(FileDialogFilterTest, SelectedFilterIsFoundWithOrWithoutItsMasksShown) {
  const QStringList filters = NameFiltersOf(QStringLiteral(
      "Icon(*.ico)|*.ico|PNG(*.png)|*.png|Cursor (*.cur)|*.cur|Animated cursor (*.ani)|*.ani"));
  EXPECT_EQ(FilterIndexOf(filters, QStringLiteral("PNG(*.png) (*.png)")), 2);
  EXPECT_EQ(FilterIndexOf(filters, QStringLiteral("PNG(*.png)")), 2);
  EXPECT_EQ(FilterIndexOf(filters, QStringLiteral("Animated cursor (*.ani)")), 4);
  EXPECT_EQ(FilterIndexOf(filters, QStringLiteral("Other")), 1);
}

TEST(FolderPickerTest, IsDirectoryAndSelectFolder) {
  TempDir temp;
  const QString folder = FromPath(temp.Path());
  std::ofstream(temp.Path() / "file.txt") << "x";
  EXPECT_TRUE(IsDirectory(folder));
  EXPECT_TRUE(IsDirectory(folder + QLatin1Char('/')));
  EXPECT_FALSE(IsDirectory(folder + QStringLiteral("/file.txt")));
  EXPECT_FALSE(IsDirectory(folder + QStringLiteral("/missing")));
  EXPECT_FALSE(IsDirectory(QString()));

  FakeDialogs dialogs;
  dialogs.FolderAnswers = {std::nullopt, folder};
  QString chosen = QStringLiteral("/no/such/folder");
  EXPECT_FALSE(SelectFolder(dialogs, nullptr, QStringLiteral("Please select a directory"),
                            QStringLiteral("\\"), chosen));
  EXPECT_EQ(chosen, QString());  // a folder that does not exist is not preselected
  EXPECT_EQ(dialogs.FolderRoots.back(), QStringLiteral("/"));
  EXPECT_TRUE(SelectFolder(dialogs, nullptr, QStringLiteral("Please select a directory"),
                           QStringLiteral("\\"), chosen));
  EXPECT_EQ(chosen, folder);
}

}  // namespace
}  // namespace pictarix::testing
