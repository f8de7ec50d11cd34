#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>

#include "formats/ico/IconFileWriter.h"
#include "harvest/BestImageIndex.h"
#include "harvest/Harvester.h"
#include "os/Stream.h"
#include "support/HarvestFixtures.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using testing::WriteIconFile;
using testing::WriteIconLibrary;

// Records what the harvest shows and lets a test act after each entry.
class RecordingHost : public HarvestHost {
 public:
  explicit RecordingHost(bool tiles = true) : tiles_(tiles) {}
  void SetPanelText(int panel, const std::string& text) override {
    panels[panel] = text;
    if (panel == 0) processed.push_back(text);
  }
  void ShowPreview(const IconGraphic&) override { ++previews; }
  void EntryAdded(int) override {
    ++messages;
    if (onMessages) onMessages();
  }
  bool WantsTiles() const override { return tiles_; }
  bool ShowsPanels() const override { return showsPanels; }
  void FileUnreadable(const std::filesystem::path& path, const std::string& reason) override {
    unreadable.push_back(path.filename().string() + ": " + reason);
  }

  std::map<int, std::string> panels;
  std::vector<std::string> unreadable;
  std::vector<std::string> processed;
  bool showsPanels = true;
  int previews = 0;
  int messages = 0;
  std::function<void()> onMessages;

 private:
  bool tiles_;
};

std::vector<std::string> Captions(const Harvester& harvester) {
  std::vector<std::string> captions;
  for (const auto& entry : harvester.Entries) captions.push_back(entry.Caption);
  return captions;
}

class HarvesterTest : public ::testing::Test {
 protected:
  std::filesystem::path PathOf(const std::string& name) const { return dir.Path() / name; }
  testing::TempDir dir;
  RecordingHost host;
  Harvester harvester{host};
};

TEST_F(HarvesterTest, ModuleIconsWithA32x32ImageBecomeEntriesShowingTheDeepestOne) {
  WriteIconLibrary(PathOf("tools.icl"), {{"Folder", {{16, 4}, {32, 4}, {48, 8}, {32, 8}}},
                                         {"Disk", {{32, 4}, {16, 8}}}});
  harvester.HarvestFile(PathOf("tools.icl"));

  ASSERT_EQ(Captions(harvester), (std::vector<std::string>{"Folder", "Disk"}));
  const ListEntry& folder = harvester.Entries[0];
  ASSERT_EQ(folder.TileImage, 2);  // sorted: 4/16, 4/32, 8/32, 8/48
  EXPECT_EQ(folder.Icon->Images.Get(2)->BitCount, 8);
  EXPECT_EQ(folder.Icon->Images.Get(2)->Width, 32);
  EXPECT_EQ(folder.ImageIndex, 0);
  EXPECT_EQ(harvester.Entries[1].ImageIndex, 1);
  EXPECT_EQ(harvester.LargeImgs.Count(), 2);
  EXPECT_EQ(harvester.LargeImgs.Get(0)->Width, 32);
  EXPECT_EQ(harvester.Entries[1].File, PathOf("tools.icl"));

  EXPECT_EQ(harvester.FileCount, 1);
  EXPECT_EQ(host.panels[0], "Processing tools.icl");
  EXPECT_EQ(host.panels[1], "1 files");
  EXPECT_EQ(host.panels[2], "2 icons");
  EXPECT_EQ(host.previews, 2);
  EXPECT_EQ(host.messages, 2);  // once after each entry added
}

TEST_F(HarvesterTest, IconsWithoutA32x32ImageAreSkippedButTheFileCounts) {
  WriteIconLibrary(PathOf("small.icl"), {{"A", {{16, 4}, {48, 8}}}, {"B", {{16, 8}}}});
  harvester.HarvestFile(PathOf("small.icl"));
  EXPECT_TRUE(harvester.Entries.empty());
  EXPECT_EQ(host.panels[1], "1 files");
  EXPECT_EQ(host.messages, 0);

  harvester.KeepIconsWithoutTile = true;  // as the command line's --all asks
  harvester.HarvestFile(PathOf("small.icl"));
  ASSERT_EQ(Captions(harvester), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(harvester.Entries[0].TileImage, -1);
  EXPECT_EQ(harvester.Entries[0].ImageIndex, -1);
  EXPECT_EQ(harvester.LargeImgs.Count(), 0);
}

TEST_F(HarvesterTest, IconFileFallbackTakesTheIcoExtensionInAnyCase) {
  WriteIconFile(PathOf("Alpha.ICO"), {{16, 8}, {32, 4}});
  WriteIconFile(PathOf("icon.ico.bak"), {{32, 4}});
  WriteIconFile(PathOf("tiny.ico"), {{16, 4}});
  harvester.HarvestFile(PathOf("Alpha.ICO"));
  harvester.HarvestFile(PathOf("icon.ico.bak"));
  harvester.HarvestFile(PathOf("tiny.ico"));

  ASSERT_EQ(Captions(harvester), (std::vector<std::string>{"Alpha"}));
  EXPECT_EQ(harvester.Entries[0].TileImage, 0);  // 4-bit 32x32 sorts before 8-bit 16x16
  EXPECT_EQ(harvester.FileCount, 3);
  EXPECT_EQ(host.panels[2], "1 icons");
}

TEST_F(HarvesterTest, WithoutTilesNothingIsDecodedAndEntriesStillCarryTheirTileImage) {
  RecordingHost listing(false);
  Harvester lister(listing);
  WriteIconFile(PathOf("a.ico"), {{32, 8}});
  lister.HarvestFile(PathOf("a.ico"));
  ASSERT_EQ(lister.Entries.size(), 1u);
  EXPECT_EQ(lister.Entries[0].TileImage, 0);
  EXPECT_EQ(lister.Entries[0].ImageIndex, -1);
  EXPECT_EQ(lister.Entries[0].Icon->Images.Get(0)->Handle, nullptr);
  EXPECT_EQ(listing.previews, 0);
}

TEST_F(HarvesterTest, ASinkTakesEveryEntryInOrderAndAHostWithoutPanelsGetsNoTexts) {
  RecordingHost listing(false);
  listing.showsPanels = false;
  Harvester lister(listing);
  std::vector<std::pair<int, std::string>> sent;
  lister.EntrySink = [&sent](int index, ListEntry& entry) {
    sent.emplace_back(index, entry.Caption + "/" + std::to_string(entry.Icon->Images.Count()));
  };
  WriteIconLibrary(PathOf("two.icl"), {{"A", {{32, 4}, {16, 4}}}, {"B", {{32, 8}}}});
  WriteIconFile(PathOf("c.ico"), {{32, 8}});
  std::ofstream(PathOf("data.bin")) << "no icons here";
  lister.HarvestDirectory(dir.Path());

  EXPECT_EQ(sent, (std::vector<std::pair<int, std::string>>{{0, "c/1"}, {1, "A/2"}, {2, "B/1"}}));
  EXPECT_TRUE(lister.Entries.empty());
  EXPECT_EQ(lister.FileCount, 3);
  EXPECT_TRUE(listing.panels.empty());
}

TEST_F(HarvesterTest, StopEndsTheRunAfterTheCurrentIconAndSkipsTheFallback) {
  WriteIconLibrary(PathOf("many.ico"), {{"1", {{32, 4}}}, {"2", {{32, 4}}}, {"3", {{32, 4}}}});
  WriteIconFile(PathOf("later.ico"), {{32, 4}});
  host.onMessages = [&] { harvester.StopRequested = true; };
  harvester.HarvestFile(PathOf("many.ico"));
  harvester.HarvestFile(PathOf("later.ico"));

  EXPECT_EQ(Captions(harvester), (std::vector<std::string>{"1"}));
  EXPECT_EQ(harvester.FileCount, 1);  // the later file returns at once, uncounted
  EXPECT_EQ(host.panels[1], "1 files");
}

TEST_F(HarvesterTest, FilesThatAreNotRegularAreNotCountedAndBrokenModulesAre) {
  std::filesystem::create_directory(PathOf("folder.ico"));
  ASSERT_EQ(::mkfifo(PathOf("pipe.ico").c_str(), 0600), 0);
  std::ofstream(PathOf("broken.icl"), std::ios::binary)
      << std::string("MZ") + std::string(58, '\0') + std::string("\x40\0\0\0", 4) + "NE";
  harvester.HarvestFile(PathOf("folder.ico"));
  harvester.HarvestFile(PathOf("pipe.ico"));
  harvester.HarvestFile(PathOf("missing.dll"));
  EXPECT_EQ(harvester.FileCount, 0);
  harvester.HarvestFile(PathOf("broken.icl"));
  EXPECT_EQ(harvester.FileCount, 1);
  EXPECT_TRUE(harvester.Entries.empty());
  EXPECT_EQ(host.panels[0], "Processing broken.icl");
  ASSERT_EQ(host.unreadable.size(), 2u);
  EXPECT_EQ(host.unreadable[0], "missing.dll: No such file or directory");
  EXPECT_EQ(host.unreadable[1].rfind("broken.icl: ", 0), 0u);
}

TEST_F(HarvesterTest, FifosNamedLikeIconsAreSkippedAlsoWhenSwappedInAfterTheListing) {
  std::filesystem::create_directory(PathOf("tree"));
  for (const char* name : {"x.ico", "x.dll", "tree/p.ico"}) {
    ASSERT_EQ(::mkfifo(PathOf(name).c_str(), 0600), 0);
  }
  WriteIconFile(PathOf("tree/y.ico"), {{32, 4}});
  WriteIconFile(PathOf("tree/z.dll"), {{32, 4}});
  harvester.HarvestFile(PathOf("x.ico"));
  harvester.HarvestFile(PathOf("x.dll"));
  // Listed as regular files, both become FIFOs before they are opened.
  int names = 0;
  harvester.Engine.BeforeEachName = [&] {
    if (++names != 2) return;
    for (const char* name : {"tree/y.ico", "tree/z.dll"}) {
      std::filesystem::remove(PathOf(name));
      ::mkfifo(PathOf(name).c_str(), 0600);
    }
  };
  harvester.HarvestDirectory(PathOf("tree"));
  EXPECT_EQ(harvester.FileCount, 0);
  EXPECT_TRUE(host.unreadable.empty());
}

TEST_F(HarvesterTest, FoldersAndFilesThatCannotBeReadInsideATreeAreReported) {
  // Root reads every file, so as root the harvest runs in a child that is the user "nobody".
  const bool asRoot = ::geteuid() == 0;
  if (asRoot) std::filesystem::permissions(dir.Path(), std::filesystem::perms::all);
  std::filesystem::create_directories(PathOf("tree/locked"));
  WriteIconFile(PathOf("tree/locked/a.ico"), {{32, 4}});
  WriteIconFile(PathOf("tree/b.ico"), {{32, 4}});
  WriteIconFile(PathOf("tree/c.ico"), {{32, 4}});
  std::filesystem::permissions(PathOf("tree/locked"), std::filesystem::perms::none);
  std::filesystem::permissions(PathOf("tree/c.ico"), std::filesystem::perms::none);
  const auto reported = [&] {
    harvester.HarvestDirectory(PathOf("tree"));
    // An unreadable file is counted, as it always was.
    return Captions(harvester) == std::vector<std::string>{"b"} && harvester.FileCount == 2 &&
           host.unreadable ==
               std::vector<std::string>{"c.ico: Permission denied", "locked: Permission denied"};
  };
  if (asRoot) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
      ::_exit(reported() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  } else {
    EXPECT_TRUE(reported()) << ::testing::PrintToString(host.unreadable);
  }
  std::filesystem::permissions(PathOf("tree/locked"), std::filesystem::perms::owner_all);
}

TEST_F(HarvesterTest, DirectoryWalkIsDepthFirstInByteOrder) {
  std::filesystem::create_directories(PathOf("tree/sub/deeper"));
  WriteIconFile(PathOf("tree/a.ico"), {{32, 4}});
  WriteIconFile(PathOf("tree/sub/b.ico"), {{32, 4}});
  WriteIconFile(PathOf("tree/sub/deeper/c.ico"), {{32, 4}});
  WriteIconFile(PathOf("tree/.hidden.ico"), {{32, 4}});
  std::ofstream(PathOf("tree/readme.txt")) << "not an icon";

  harvester.HarvestDirectory(PathOf("tree"));
  EXPECT_EQ(Captions(harvester), (std::vector<std::string>{".hidden", "a", "b", "c"}));
  EXPECT_EQ(harvester.FileCount, 5);
  for (const auto& entry : harvester.Entries) {
    EXPECT_EQ(entry.File.string().find("//"), std::string::npos);
  }
}

TEST_F(HarvesterTest, LinksToDirectoriesInsideTheTreeAreNotFollowedButAnArgumentLinkIs) {
  std::filesystem::create_directories(PathOf("tree/sub"));
  WriteIconFile(PathOf("tree/sub/b.ico"), {{32, 4}});
  std::filesystem::create_directory_symlink(PathOf("tree"), PathOf("tree/sub/loop"));
  std::filesystem::create_directory_symlink(PathOf("tree"), PathOf("entry"));

  harvester.HarvestDirectory(PathOf("entry/"));
  EXPECT_EQ(Captions(harvester), (std::vector<std::string>{"b"}));
  EXPECT_EQ(harvester.Entries[0].File, PathOf("entry/sub/b.ico"));
  EXPECT_EQ(harvester.FileCount, 1);  // the loop link is neither entered nor counted
}

// A link inside a tree is never opened: neither one listed as a link nor one swapped in for a
// file after the listing (there a link to a device would act on its open). A PATH argument
// that is a link is followed.
TEST_F(HarvesterTest, LinksToFilesInsideTheTreeAreNeverOpenedButAnArgumentLinkIs) {
  std::filesystem::create_directory(PathOf("tree"));
  WriteIconFile(PathOf("real.ico"), {{32, 4}});
  std::filesystem::create_symlink(PathOf("real.ico"), PathOf("tree/listed.ico"));
  std::filesystem::create_symlink("/dev/null", PathOf("tree/null.ico"));
  WriteIconFile(PathOf("tree/swapped.ico"), {{32, 4}});
  int names = 0;
  harvester.Engine.BeforeEachName = [&] {
    if (++names != 2) return;  // the tree is listed: replace the file by a link
    std::filesystem::remove(PathOf("tree/swapped.ico"));
    std::filesystem::create_symlink(PathOf("real.ico"), PathOf("tree/swapped.ico"));
  };
  harvester.HarvestDirectory(PathOf("tree"));
  EXPECT_TRUE(harvester.Entries.empty());
  EXPECT_EQ(harvester.FileCount, 0);
  EXPECT_TRUE(host.unreadable.empty());

  harvester.HarvestFile(PathOf("tree/swapped.ico"));
  EXPECT_EQ(Captions(harvester), (std::vector<std::string>{"swapped"}));
}

TEST_F(HarvesterTest, StopDuringAWalkEndsItWithinOneEntry) {
  std::filesystem::create_directory(PathOf("tree"));
  for (int i = 0; i < 10; ++i)
    WriteIconFile(PathOf("tree/" + std::to_string(i) + ".ico"), {{32, 4}});
  host.onMessages = [&] {
    if (harvester.Entries.size() == 3) harvester.StopRequested = true;
  };
  harvester.HarvestDirectory(PathOf("tree"));
  EXPECT_EQ(harvester.Entries.size(), 3u);
  EXPECT_EQ(harvester.FileCount, 3);
}

// Folders "n" nested `depth` deep under `root`, with an icon file every 1000 levels; made and
// removed through descriptors, as no path may name the deepest ones.
void MakeDeepTree(const std::filesystem::path& root, int depth) {
  MemoryStream icon;
  WriteIconFile(*testing::MakeIcon({{32, 4}}), icon);
  int folder = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 1; level <= depth; ++level) {
    ASSERT_EQ(::mkdirat(folder, "n", 0700), 0);
    const int next = ::openat(folder, "n", O_RDONLY | O_DIRECTORY);
    ::close(folder);
    folder = next;
    if (level % 1000 != 0) continue;
    const std::string name = "at" + std::to_string(level) + ".ico";
    const int file = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_EQ(::write(file, icon.Bytes().data(), icon.Bytes().size()),
              static_cast<ssize_t>(icon.Bytes().size()));
    ::close(file);
  }
  ::close(folder);
}

void RemoveDeepTree(const std::filesystem::path& root) {
  const int top = ::open(root.c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 1;; ++level) {  // lifts the second level up, then removes the emptied first
    const int first = ::openat(top, "n", O_RDONLY | O_DIRECTORY);
    if (first < 0) break;
    ::unlinkat(first, ("at" + std::to_string(level) + ".ico").c_str(), 0);
    const bool deeper = ::renameat(first, "n", top, "lifted") == 0;
    ::close(first);
    ::unlinkat(top, "n", AT_REMOVEDIR);
    if (!deeper || ::renameat(top, "lifted", top, "n") != 0) break;
  }
  ::close(top);
}

TEST_F(HarvesterTest, TreesDeeperThanAnyPathListEveryIcon) {
  // In memory where the system offers it: 5,000 folders made and removed on a disk are slow.
  char shared[] = "/dev/shm/pictarix-deep-XXXXXX";
  const bool inMemory = ::mkdtemp(shared) != nullptr;
  const std::filesystem::path root = inMemory ? std::filesystem::path(shared) : PathOf("deep");
  if (!inMemory) std::filesystem::create_directory(root);
  MakeDeepTree(root, 5000);
  harvester.HarvestDirectory(root);
  RemoveDeepTree(root);
  if (inMemory) std::filesystem::remove(root);
  EXPECT_EQ(Captions(harvester),
            (std::vector<std::string>{"at1000", "at2000", "at3000", "at4000", "at5000"}));
  EXPECT_TRUE(host.unreadable.empty());
  ASSERT_EQ(harvester.Entries.size(), 5u);
  EXPECT_EQ(harvester.Entries[4].File.string().size(), root.string().size() + 5000 * 2 + 11);
}

TEST_F(HarvesterTest, ClearAndRemoveKeepTheListConsistent) {
  WriteIconLibrary(PathOf("lib.icl"), {{"0", {{32, 4}}}, {"1", {{32, 4}}}, {"2", {{32, 4}}}});
  harvester.HarvestFile(PathOf("lib.icl"));
  harvester.RemoveEntries({true, false, true});
  EXPECT_EQ(Captions(harvester), (std::vector<std::string>{"1"}));
  EXPECT_EQ(harvester.Entries[0].ImageIndex, 1);
  EXPECT_EQ(harvester.LargeImgs.Count(), 3);  // tiles stay until the list is cleared

  harvester.ClearList();
  EXPECT_TRUE(harvester.Entries.empty());
  EXPECT_EQ(harvester.LargeImgs.Count(), 0);
  EXPECT_EQ(harvester.FileCount, 0);
  EXPECT_EQ(host.panels[1], "0 files");
  EXPECT_EQ(host.panels[2], "0 icons");
}

}  // namespace
}  // namespace pictarix
