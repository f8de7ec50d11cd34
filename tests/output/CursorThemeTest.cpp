// Cursor themes: the role table, roles matched by file name, and the folder written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "os/Errors.h"
#include "os/SafeFile.h"
#include "output/CursorTheme.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(CursorRolesTest, EveryXNameBelongsToOneRoleInWindowsOrder) {
  std::set<std::string_view> names;
  const auto roles = CursorRoles();
  for (std::size_t role = 0; role < roles.size(); ++role) {
    EXPECT_EQ(roles[role].Name, kSchemeRoles[role]);
    for (std::string_view name : roles[role].XNames) {
      EXPECT_TRUE(names.insert(name).second) << name;
    }
  }
  EXPECT_EQ(roles[0].XNames.front(), "left_ptr");
  EXPECT_EQ(roles[14].XNames.front(), "hand2");
}

TEST(CursorRolesTest, MatchesFolderFilesToRoles) {
  const std::vector<std::string> files = {"HAND.cur", "link.ani", "Pointer.CUR", "arrow.ani",
                                          "busy.txt", "Busy.ani", "wait.cur",    "readme.cur.txt",
                                          "help.ani", "Help.cur"};
  const RoleFiles byName = MatchRolesByFileName(files);
  EXPECT_EQ(byName[0], "arrow.ani");  // the Windows name before the usual "pointer"
  EXPECT_EQ(byName[1], "Help.cur");   // the first in byte order
  EXPECT_EQ(byName[3], "wait.cur");
  EXPECT_EQ(byName[14], "HAND.cur");  // the Windows name before the usual "link"
  EXPECT_EQ(byName[2], "");
  CursorSchemeInf scheme;
  scheme.Files[0] = "ARROW.ANI";
  scheme.Files[1] = "missing.cur";
  const RoleFiles fromScheme = MatchRolesFromScheme(scheme, files);
  EXPECT_EQ(fromScheme[0], "arrow.ani");
  EXPECT_EQ(fromScheme[1], "");
}

TEST(CursorThemeTest, WritesFilesLinksAndIndex) {
  testing::TempDir temp;
  const fs::path stale = temp.Path() / "My Theme" / "cursors" / "default";
  fs::create_directories(stale.parent_path());
  std::ofstream(stale) << "old";
  std::vector<std::size_t> asked;
  const auto written = WriteCursorTheme(
      temp.Path(), "My Theme", "From\na pack", [&](std::size_t role, const fs::path& target) {
        asked.push_back(role);
        if (role != 0 && role != 15) return false;
        const std::string bytes = "cursor " + std::to_string(role);
        ReplaceFileContents(
            target, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        return true;
      });
  EXPECT_EQ(asked.size(), kCursorRoleCount);
  EXPECT_EQ(written.Folder, temp.Path() / "My Theme");
  EXPECT_EQ(written.MissingRoles.size(), kCursorRoleCount - 2);
  EXPECT_EQ(written.MissingRoles.front(), 1u);
  const fs::path cursors = written.Folder / "cursors";
  EXPECT_EQ(ReadText(cursors / "left_ptr"), "cursor 0");
  EXPECT_EQ(ReadText(cursors / "pin"), "cursor 15");
  for (const char* alias : {"default", "arrow", "top_left_arrow"}) {
    ASSERT_TRUE(fs::is_symlink(cursors / alias)) << alias;
    EXPECT_EQ(fs::read_symlink(cursors / alias), "left_ptr");
  }
  EXPECT_FALSE(fs::exists(fs::symlink_status(cursors / "watch")));
  EXPECT_EQ(ReadText(written.Folder / "index.theme"),
            "[Icon Theme]\nName=My Theme\nComment=From a pack\n");
  // Nothing hidden is left behind.
  for (const auto& entry : fs::directory_iterator(cursors)) {
    EXPECT_NE(entry.path().filename().string().front(), '.');
  }
}

TEST(CursorThemeTest, NameIsOneSafeFolderAndFailuresAreReported) {
  testing::TempDir temp;
  const auto none = [](std::size_t, const fs::path&) { return false; };
  EXPECT_EQ(WriteCursorTheme(temp.Path(), "../x/y", "", none).Folder, temp.Path() / "_x_y");
  EXPECT_EQ(WriteCursorTheme(temp.Path(), ".hidden", "", none).Folder, temp.Path() / "hidden");
  std::ofstream(temp.Path() / "file") << "a file where a folder must go";
  EXPECT_THROW(WriteCursorTheme(temp.Path() / "file", "t", "", none), FCreateError);
}

}  // namespace
}  // namespace pictarix
