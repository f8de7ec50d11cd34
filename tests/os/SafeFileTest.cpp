// Replacing output files where other users, full folders and killed writers are about.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "os/Errors.h"
#include "os/FileLock.h"
#include "os/SafeFile.h"
#include "os/Stream.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr uid_t kNobody = 65534;

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path) << text;
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs `body` in a child process as the user nobody; answers its exit code (99: no such user,
// 98: an exception).
int AsNobody(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(99);
    try {
      ::_exit(body());
    } catch (...) {
      ::_exit(98);
    }
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ReplaceFileTest : public ::testing::Test {
 protected:
  void NeedRoot() {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    ::chmod(dir.Path().c_str(), 0755);  // the second user may look in
  }
  testing::TempDir dir;
};

TEST_F(ReplaceFileTest, ALinkOfAnotherUserInASharedFolderIsNotFollowed) {
  NeedRoot();
  if (IsSkipped()) return;
  const fs::path shared = dir.Path() / "pub";
  const fs::path victim = dir.Path() / "victim";
  fs::create_directories(shared);
  fs::create_directories(victim);
  ::chmod(shared.c_str(), 01777);
  WriteText(victim / "important.conf", "keep");
  // Planted by another user: the last name, and a folder on the way.
  fs::create_symlink(victim / "important.conf", shared / "0.ico");
  fs::create_symlink(victim, shared / "in");
  ASSERT_EQ(::lchown((shared / "0.ico").c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(::lchown((shared / "in").c_str(), kNobody, kNobody), 0);

  const Bytes bytes{1, 2};
  for (const fs::path& target : {shared / "0.ico", shared / "in" / "new.ico"}) {
    try {
      ReplaceFileContents(target, bytes);
      FAIL() << "followed " << target;
    } catch (const FCreateError& e) {
      EXPECT_NE(std::string(e.what()).find("not followed"), std::string::npos) << e.what();
    }
  }
  // A batch judges the folder once and the file's own name when it is a link.
  const std::vector<FileReplacement> batch = {
      {shared / "0.ico", bytes}, {shared / "in" / "new.ico", bytes}, {shared / "mine.ico", bytes}};
  const auto results = ReplaceFilesContents(batch);
  for (std::size_t i = 0; i < 2; ++i) {
    ASSERT_TRUE(results[i]) << batch[i].Target;
    EXPECT_NE(results[i]->find("\"" + batch[i].Target.string() + "\""), std::string::npos);
    EXPECT_NE(results[i]->find("not followed"), std::string::npos) << *results[i];
  }
  EXPECT_FALSE(results[2]);
  EXPECT_EQ(ReadWholeFile(victim / "important.conf"), (Bytes{'k', 'e', 'e', 'p'}));
  EXPECT_EQ(Names(victim), std::vector<std::string>{"important.conf"});

  // The folder's owner's own link is followed, as the kernel would.
  ASSERT_EQ(::lchown((shared / "0.ico").c_str(), 0, 0), 0);
  ReplaceFileContents(shared / "0.ico", Bytes{1, 2});
  EXPECT_EQ(ReadWholeFile(victim / "important.conf"), (Bytes{1, 2}));
}

TEST_F(ReplaceFileTest, ReplacingAFileOrLinkReplacesTheLinkItselfNeverWhereItPoints) {
  const fs::path victim = dir.Path() / "victim.conf";
  WriteText(victim, "keep");
  fs::create_directories(dir.Path() / "real");
  fs::create_symlink("real", dir.Path() / "folder");
  const fs::path settings = dir.Path() / "folder" / "settings.conf";
  fs::create_symlink(victim, settings);
  ReplaceFileOrLink(settings, Bytes{1, 2});
  EXPECT_EQ(ReadWholeFile(victim), (Bytes{'k', 'e', 'e', 'p'}));
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.Path() / "real" / "settings.conf")));
  EXPECT_EQ(ReadWholeFile(settings), (Bytes{1, 2}));
  EXPECT_EQ(Names(dir.Path() / "real"), std::vector<std::string>{"settings.conf"});
}

TEST_F(ReplaceFileTest, KeepsOwnerGroupAndModeWithoutSetuidSetgidSticky) {
  NeedRoot();
  if (IsSkipped()) return;
  const fs::path library = dir.Path() / "theirs.icl";
  WriteText(library, "old");
  ASSERT_EQ(::chown(library.c_str(), kNobody, kNobody), 0);
  ASSERT_EQ(::chmod(library.c_str(), 06750), 0);
  ReplaceFileContents(library, Bytes{7});
  struct stat status {};
  ASSERT_EQ(::stat(library.c_str(), &status), 0);
  EXPECT_EQ(status.st_uid, kNobody);
  EXPECT_EQ(status.st_gid, kNobody);
  EXPECT_EQ(status.st_mode & 07777, 0750u);
  EXPECT_EQ(AsNobody([&] { return ReadWholeFile(library) == Bytes{7} ? 0 : 1; }), 0);
}

TEST_F(ReplaceFileTest, AFolderThatTakesNoNewFileKeepsItsFilesUntouched) {
  NeedRoot();
  if (IsSkipped()) return;
  // The file may be written by nobody, its folder may not take new files from them.
  const fs::path target = dir.Path() / "library.icl";
  WriteText(target, "old library");
  ASSERT_EQ(::chown(target.c_str(), kNobody, kNobody), 0);
  const int result = AsNobody([&] {
    try {
      ReplaceFileContents(target, Bytes(100, 0));
      return 1;
    } catch (const FCreateError& e) {
      const std::string expected = "Cannot create file \"" + target.string() + "\". ";
      return std::string(e.what()).rfind(expected, 0) == 0 ? 0 : 2;
    }
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadWholeFile(target), (Bytes{'o', 'l', 'd', ' ', 'l', 'i', 'b', 'r', 'a', 'r', 'y'}));
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"library.icl"});
}

TEST_F(ReplaceFileTest, AWriterKilledMidWayLeavesNoFileBehind) {
  const fs::path target = dir.Path() / "large.icl";
  const pid_t child = ::fork();
  if (child == 0) {
    const Bytes large(64 << 20, 0x5A);
    const std::vector<FileReplacement> batch = {{dir.Path() / "a.png", large},
                                                {dir.Path() / "b.png", large}};
    try {
      for (;;) {
        ReplaceFileContents(target, large);
        ReplaceFilesContents(batch);
      }
    } catch (...) {
      ::_exit(1);
    }
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  for (const std::string& name : Names(dir.Path()))
    EXPECT_TRUE(name == "large.icl" || name == "a.png" || name == "b.png") << name;
}

// More files than a batch keeps open at once, among them targets that cannot be written.
TEST_F(ReplaceFileTest, ABatchWritesEveryOtherFileWhenOneFailsAndLeavesNoTemporaryFile) {
  const fs::path folder = dir.Path();
  WriteText(folder / "old.png", "old");
  ASSERT_EQ(::chmod((folder / "old.png").c_str(), 0640), 0);
  fs::create_directory(folder / "taken.png");
  std::vector<FileReplacement> files;
  std::vector<Bytes> contents;
  for (int i = 0; i < 300; ++i) contents.push_back(Bytes{static_cast<std::uint8_t>(i), 1});
  files.push_back({folder / "old.png", contents[0]});
  files.push_back({folder / "taken.png", contents[1]});
  files.push_back({folder / "missing" / "x.png", contents[2]});
  for (int i = 3; i < 300; ++i)
    files.push_back({folder / (std::to_string(i) + ".png"), contents[static_cast<std::size_t>(i)]});

  const auto results = ReplaceFilesContents(files);
  ASSERT_EQ(results.size(), files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (i == 1 || i == 2) {
      ASSERT_TRUE(results[i]);
      EXPECT_EQ(results[i]->rfind("Cannot create file \"" + files[i].Target.string() + "\". ", 0),
                0u)
          << *results[i];
    } else {
      EXPECT_FALSE(results[i]) << *results[i];
      EXPECT_EQ(ReadWholeFile(files[i].Target), contents[i]);
    }
  }
  struct stat status {};
  ASSERT_EQ(::stat((folder / "old.png").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  EXPECT_TRUE(fs::is_directory(folder / "taken.png"));
  EXPECT_EQ(Names(folder).size(), 299u);  // the 298 files and the folder in the way
}

// A folder that refuses new files fails its own files only.
TEST_F(ReplaceFileTest, ABatchFailsOnlyTheFilesOfAFolderThatTakesNoNewFile) {
  NeedRoot();
  if (IsSkipped()) return;
  const fs::path closed = dir.Path() / "closed";
  const fs::path open = dir.Path() / "open";
  fs::create_directories(closed);
  fs::create_directories(open);
  ASSERT_EQ(::chown(open.c_str(), kNobody, kNobody), 0);
  WriteText(closed / "lib.icl", "old");
  ASSERT_EQ(::chown((closed / "lib.icl").c_str(), kNobody, kNobody), 0);
  const Bytes bytes{9, 9};
  const std::vector<FileReplacement> files = {
      {open / "1.png", bytes}, {closed / "lib.icl", bytes}, {open / "2.png", bytes}};
  EXPECT_EQ(AsNobody([&] {
              const auto results = ReplaceFilesContents(files);
              return !results[0] && results[1] && !results[2] ? 0 : 1;
            }),
            0);
  EXPECT_EQ(ReadWholeFile(closed / "lib.icl"), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(Names(closed), std::vector<std::string>{"lib.icl"});
  EXPECT_EQ(Names(open), (std::vector<std::string>{"1.png", "2.png"}));
  EXPECT_EQ(ReadWholeFile(open / "2.png"), bytes);
}

// A file written in pieces replaces its target only when committed: a write the file system
// refuses (here a file size limit, as a full disk would) and a writer dropped before Commit
// both leave the old file and nothing else.
TEST_F(ReplaceFileTest, AFileWrittenInPiecesReplacesItsTargetOnlyWhenCommitted) {
  const fs::path target = dir.Path() / "lib.icl";
  WriteText(target, "old");
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit limit = {1 << 20, 1 << 20};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      SafeFileWriter file(target);
      for (int i = 0; i < 4; ++i) file.Write(Bytes(512 << 10, 1));
      ::_exit(1);
    } catch (const FCreateError& e) {
      ::_exit(std::string(e.what()).rfind("Cannot create file \"" + target.string(), 0) == 0 ? 0
                                                                                             : 2);
    }
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  {
    SafeFileWriter dropped(target);
    dropped.Write(Bytes{1, 2});
  }
  EXPECT_EQ(ReadWholeFile(target), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"lib.icl"});

  SafeFileWriter file(target);
  file.Write(Bytes{1, 2});
  file.Write(Bytes(3, 4));
  file.Commit();
  EXPECT_EQ(ReadWholeFile(target), (Bytes{1, 2, 4, 4, 4}));
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"lib.icl"});
}

TEST_F(ReplaceFileTest, ASecondLockWaitsForTheRenameThenLocksTheNewFile) {
  const fs::path library = dir.Path() / "lib.icl";
  for (const bool exists : {false, true}) {
    if (exists) WriteText(library, "old");
    auto first = std::make_unique<FileLock>(library);
    // Bounded: a writer that does not get the lock in time says so.
    try {
      FileLock second(library, std::chrono::milliseconds(100));
      FAIL() << "locked twice";
    } catch (const PictarixError& e) {
      EXPECT_NE(std::string(e.what()).find("Cannot lock file"), std::string::npos);
    }
    std::thread waiter([&] {
      const FileLock second(library);
      EXPECT_EQ(ReadWholeFile(library), (Bytes{exists ? std::uint8_t{2} : std::uint8_t{1}}));
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ReplaceFileContents(library, Bytes{exists ? std::uint8_t{2} : std::uint8_t{1}});
    first.reset();
    waiter.join();
  }
}

}  // namespace
}  // namespace pictarix
