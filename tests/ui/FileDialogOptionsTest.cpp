// The file dialog options built by hand: the selected filter's extension, the create, replace
// and read-only questions, and the folder and file checks.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/HarvestFixtures.h"
#include "support/TempDir.h"
#include "ui/FakeDialogs.h"
#include "ui/dialogs/FileDialogOptions.h"
#include "ui/dialogs/OutputDialogs.h"
#include "ui/window/QtPaths.h"

namespace pictarix::testing {
namespace {

TEST(FileDialogOptionsTest, NameWithoutExtensionTakesTheSelectedFiltersFirstExtension) {
  const FileDialogRequest pictures = MakeSaveAsDialog();
  EXPECT_EQ(FilterDefaultExt(pictures, 1), QStringLiteral(".ico"));
  EXPECT_EQ(FilterDefaultExt(pictures, 4), QStringLiteral(".jpg"));  // "*.jpg;*.jpeg"
  EXPECT_EQ(FilterDefaultExt(pictures, 5), QStringLiteral(".png"));
  EXPECT_EQ(FilterDefaultExt(pictures, 9), QStringLiteral(".ico"));  // no such entry

  FileDialogRequest any;
  any.Filter = QStringLiteral("All Files(*.*)|*.*");
  EXPECT_EQ(FilterDefaultExt(any, 1), QString());
  for (const char* ext : {"*.icl", "icl", ".icl"}) {
    any.DefaultExt = QString::fromLatin1(ext);
    EXPECT_EQ(FilterDefaultExt(any, 1), QStringLiteral(".icl")) << ext;
  }

  EXPECT_TRUE(HasExtension(QStringLiteral("/a/pic.txt")));
  EXPECT_TRUE(HasExtension(QStringLiteral("pic.")));
  EXPECT_FALSE(HasExtension(QStringLiteral("/a.b/pic")));
}

class RunFileDialogTest : public ::testing::Test {
 protected:
  QString Name(const char* name) const { return FromPath(dir.Path() / name); }
  bool Run(FileDialogRequest& request) {
    answer = {};
    return RunFileDialog(dialogs, nullptr, request, answer);
  }

  TempDir dir;
  FakeDialogs dialogs;
  FileDialogAnswer answer;
};

TEST_F(RunFileDialogTest, SaveAsksBeforeCreatingAndRemembersFilterFolderAndName) {
  FileDialogRequest request = MakeSaveAsDialog();
  dialogs.FileAnswers = {QStringList{Name("pic")}};
  dialogs.FilterAnswers = {4};
  ASSERT_TRUE(Run(request));
  EXPECT_EQ(answer.Files, QStringList{Name("pic.jpg")});
  ASSERT_EQ(dialogs.Questions.size(), 1u);
  EXPECT_EQ(dialogs.Questions[0].Title, QStringLiteral("Save As"));
  EXPECT_TRUE(dialogs.Questions[0].Message.startsWith(Name("pic.jpg") + "\nThis file does not"));
  EXPECT_EQ(dialogs.Questions[0].Preset, Dialogs::Answer::Yes);  // Enter creates the file
  EXPECT_EQ(request.FilterIndex, 4);
  EXPECT_EQ(request.InitialDir, FromPath(dir.Path()));
  EXPECT_EQ(request.FileName, Name("pic.jpg"));

  // "No" shows the dialog again with the name as typed; cancelling there answers false.
  dialogs.FileAnswers = {QStringList{Name("other")}, std::nullopt};
  dialogs.ConfirmAnswers = {false};
  EXPECT_FALSE(Run(request));
  ASSERT_EQ(dialogs.FileRequests.size(), 3u);
  EXPECT_EQ(dialogs.FileRequests[2].FileName, Name("other"));
}

TEST_F(RunFileDialogTest, ExistingFileIsReplacedOnlyAfterYesAndNeverWhenReadOnly) {
  WriteIconFile(dir.Path() / "old.ico", {{32, 4}});
  FileDialogRequest request = MakeSaveAsDialog();
  dialogs.FileAnswers = {QStringList{Name("old.ico")}, QStringList{Name("old.ico")}};
  dialogs.ConfirmAnswers = {false, true};
  ASSERT_TRUE(Run(request));
  EXPECT_EQ(answer.Files, QStringList{Name("old.ico")});
  ASSERT_EQ(dialogs.Questions.size(), 2u);
  EXPECT_EQ(dialogs.Questions[0].Message,
            Name("old.ico") + QStringLiteral(" already exists.\nDo you want to replace it?"));

  std::filesystem::permissions(dir.Path() / "old.ico", std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::group_read);
  dialogs.FileAnswers = {QStringList{Name("old")}, std::nullopt};  // ".ico" from the filter
  EXPECT_FALSE(Run(request));
  EXPECT_EQ(dialogs.Questions.size(), 2u);  // refused before any question
  ASSERT_EQ(dialogs.Notices.size(), 1u);
  EXPECT_TRUE(dialogs.Notices[0].Message.contains(QStringLiteral("read-only")));
}

TEST_F(RunFileDialogTest, LibraryDialogsCheckTheFolderAndForAddingTheFile) {
  FileDialogRequest save = MakeSaveLibraryDialog();
  dialogs.FileAnswers = {QStringList{Name("missing/lib")}, QStringList{Name("lib")}};
  ASSERT_TRUE(Run(save));
  EXPECT_EQ(answer.Files, QStringList{Name("lib.icl")});
  ASSERT_EQ(dialogs.Notices.size(), 1u);
  EXPECT_TRUE(dialogs.Notices[0].Message.contains(QStringLiteral("Path does not exist")));
  EXPECT_TRUE(dialogs.Questions.empty());  // a new library needs no confirmation

  WriteIconLibrary(dir.Path() / "five.icl", {{"a", {{32, 4}}}});
  FileDialogRequest open = MakeAddToLibraryDialog();
  dialogs.FileAnswers = {QStringList{Name("absent")}, QStringList{Name("five")}};
  ASSERT_TRUE(Run(open));
  EXPECT_EQ(answer.Files, QStringList{Name("five.icl")});
  ASSERT_EQ(dialogs.Notices.size(), 2u);
  EXPECT_EQ(dialogs.Notices[1].Title, QStringLiteral("Add to Icon Library"));
  EXPECT_EQ(dialogs.FileRequests.back().AcceptLabel, QStringLiteral("Add"));
  EXPECT_TRUE(dialogs.Notices[1].Message.startsWith(Name("absent.icl") + "\nFile not found"));
  EXPECT_TRUE(dialogs.Questions.empty());
  EXPECT_EQ(dialogs.FileRequests.back().FileName, Name("absent"));
}

}  // namespace
}  // namespace pictarix::testing
