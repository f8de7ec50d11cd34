#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>

#include "os/Files.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

TEST(FilesTest, OpeningNeverBlocksAndTheDescriptorSaysWhatWasOpened) {
  testing::TempDir dir;
  const auto file = dir.Path() / "a.dll";
  std::ofstream(file) << "xyz";
  std::filesystem::create_directory(dir.Path() / "sub");
  std::filesystem::create_symlink(dir.Path() / "sub", dir.Path() / "link-to-dir");
  ASSERT_EQ(::mkfifo((dir.Path() / "fifo").c_str(), 0600), 0);

  const OpenedFile regular = OpenForReading(file);
  ASSERT_EQ(regular.Error, 0);
  EXPECT_EQ(regular.Handle.Kind, FileKind::Regular);
  EXPECT_EQ(regular.Handle.Size, 3u);
  EXPECT_EQ(OpenForReading(dir.Path() / "fifo").Handle.Kind,
            FileKind::Other);  // no writer: no wait
  EXPECT_EQ(OpenForReading(dir.Path() / "missing").Error, ENOENT);

  const OpenedFile folder = OpenForReading(dir.Path());
  EXPECT_EQ(OpenInFolder(folder.Handle.Descriptor(), "a.dll").Handle.Kind, FileKind::Regular);
  EXPECT_NE(OpenSubfolder(folder.Handle.Descriptor(), "link-to-dir").Error, 0);  // a link
  const OpenedFile sub = OpenSubfolder(folder.Handle.Descriptor(), "sub");
  EXPECT_EQ(OpenParentFolder(sub.Handle.Descriptor()).Handle.Id, folder.Handle.Id);
  int error = 0;
  EXPECT_EQ(KindOf(folder.Handle.Descriptor(), "link-to-dir", false, error), FileKind::Link);
  EXPECT_EQ(KindOf(folder.Handle.Descriptor(), "link-to-dir", true, error), FileKind::Directory);
  EXPECT_TRUE(IsDirectory(dir.Path() / "link-to-dir"));
  EXPECT_FALSE(IsDirectory(file));
}

TEST(FilesTest, ListingIsInByteOrderWithKinds) {
  testing::TempDir dir;
  for (const char* name : {"b", "B", "a", ".hidden", "\xC3\xA9"}) std::ofstream(dir.Path() / name);
  std::filesystem::create_directory(dir.Path() / "sub");
  std::filesystem::create_symlink(dir.Path() / "sub", dir.Path() / "link");

  FolderReader folder(OpenForReading(dir.Path()).Handle);
  std::vector<DirectoryEntry> entries;
  ASSERT_EQ(folder.List(entries), 0);
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.Name);
  EXPECT_EQ(names, (std::vector<std::string>{".hidden", "B", "a", "b", "link", "sub", "\xC3\xA9"}));
  // Where the file system gives no kind, Unknown stands for it.
  EXPECT_TRUE(entries[4].Kind == FileKind::Link || entries[4].Kind == FileKind::Unknown);
  EXPECT_TRUE(entries[5].Kind == FileKind::Directory || entries[5].Kind == FileKind::Unknown);
}

}  // namespace
}  // namespace pictarix
