#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "platform/Files.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

TEST(FilesTest, RegularFilesAndDirectoriesFollowLinks) {
  testing::TempDir dir;
  const auto file = dir.Path() / "a.dll";
  std::ofstream(file) << "x";
  std::filesystem::create_directory(dir.Path() / "sub");
  std::filesystem::create_symlink(file, dir.Path() / "link-to-file");
  std::filesystem::create_symlink(dir.Path() / "sub", dir.Path() / "link-to-dir");
  ASSERT_EQ(::mkfifo((dir.Path() / "fifo").c_str(), 0600), 0);

  EXPECT_TRUE(IsRegularFile(file));
  EXPECT_TRUE(IsRegularFile(dir.Path() / "link-to-file"));
  EXPECT_FALSE(IsRegularFile(dir.Path() / "fifo"));
  EXPECT_FALSE(IsRegularFile(dir.Path() / "sub"));
  EXPECT_FALSE(IsRegularFile(dir.Path() / "missing"));
  EXPECT_TRUE(IsDirectory(dir.Path() / "link-to-dir"));
  EXPECT_FALSE(IsDirectory(file));
  EXPECT_EQ(IdentifyDirectory(dir.Path() / "link-to-dir"), IdentifyDirectory(dir.Path() / "sub"));
}

TEST(FilesTest, ListingTellsRealDirectoriesFromLinks) {
  testing::TempDir dir;
  std::filesystem::create_directory(dir.Path() / "sub");
  std::filesystem::create_symlink(dir.Path() / "sub", dir.Path() / "link");
  std::ofstream(dir.Path() / ".hidden") << "x";

  std::vector<DirectoryEntry> entries;
  ASSERT_TRUE(ListDirectory(dir.Path(), entries));
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.Name < b.Name; });
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].Name, ".hidden");
  EXPECT_FALSE(entries[0].IsRealDirectory);
  EXPECT_EQ(entries[1].Name, "link");
  EXPECT_FALSE(entries[1].IsRealDirectory);
  EXPECT_EQ(entries[2].Name, "sub");
  EXPECT_TRUE(entries[2].IsRealDirectory);

  std::vector<DirectoryEntry> none;
  EXPECT_FALSE(ListDirectory(dir.Path() / "missing", none));
}

}  // namespace
}  // namespace pictarix
