#include "os/LiveTempFolder.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <vector>

#include "os/Errors.h"
#include "os/Files.h"

namespace pictarix {

namespace {

constexpr const char* kLockName = "lock";
constexpr const char* kNewLockName = "lock.new";
// Deeper than anything the owner makes; a deeper tree is left as it is.
constexpr int kMaxDepth = 16;

// Removes the folder `name` in `parent` with everything in it, never following a link.
bool RemoveTree(int parent, const std::string& name, int depth) {
  if (depth > kMaxDepth) return false;
  OpenedFile opened = OpenSubfolder(parent, name);
  if (!opened.Handle.IsOpen()) return false;
  FolderReader folder(std::move(opened.Handle));
  std::vector<DirectoryEntry> entries;
  folder.List(entries);
  for (const DirectoryEntry& entry : entries) {
    int error = 0;
    const FileKind kind = KindOf(folder.Descriptor(), entry.Name, false, error);
    if (kind == FileKind::Directory) {
      RemoveTree(folder.Descriptor(), entry.Name, depth + 1);
    } else {
      ::unlinkat(folder.Descriptor(), entry.Name.c_str(), 0);
    }
  }
  return ::unlinkat(parent, name.c_str(), AT_REMOVEDIR) == 0;
}

// The process id a folder's name carries after `prefix`, or 0.
pid_t PidInName(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return 0;
  const char* first = name.data() + prefix.size();
  const char* last = name.data() + name.size();
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(first, last, pid);
  if (error != std::errc() || end == first || end == last || *end != '-' || pid <= 0) return 0;
  return pid;
}

bool IsRunning(pid_t pid) {
  return ::kill(pid, 0) == 0 || errno == EPERM;
}

// True when the folder `name` in `parent` (already known to be ours) is abandoned. Its lock, when
// taken here, is held by `lock` until the folder is removed.
bool IsAbandoned(int parent, const std::string& name, pid_t pid, FileHandle& lock) {
  OpenedFile folder = OpenSubfolder(parent, name);
  struct stat info {};
  if (!folder.Handle.IsOpen() || ::fstat(folder.Handle.Descriptor(), &info) != 0 ||
      !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
    return false;
  }
  const int descriptor =
      ::openat(folder.Handle.Descriptor(), kLockName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (descriptor < 0) {
    // Without a lock file the folder is being made, unless its maker is gone.
    return errno == ENOENT && !IsRunning(pid);
  }
  lock = FileHandle(descriptor);
  return ::flock(descriptor, LOCK_EX | LOCK_NB) == 0;
}

}  // namespace

LiveTempFolder::LiveTempFolder(const std::filesystem::path& parent, const std::string& prefix) {
  std::string pattern = (parent / (prefix + std::to_string(::getpid()) + "-XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw PictarixError("Cannot create folder \"" + pattern + "\". " + SystemErrorText(errno));
  }
  path_ = pattern;
  // The lock is taken under another name and then given its own, so that a lock file by that
  // name is always one that was locked.
  const OpenedFile folder = OpenSubfolder(AT_FDCWD, path_.string());
  const int lock = folder.Handle.IsOpen()
                       ? ::openat(folder.Handle.Descriptor(), kNewLockName,
                                  O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600)
                       : -1;
  if (lock < 0 || ::flock(lock, LOCK_EX) != 0 ||
      ::renameat(folder.Handle.Descriptor(), kNewLockName, folder.Handle.Descriptor(), kLockName) !=
          0) {
    const int error = errno;
    if (lock >= 0) ::close(lock);
    RemoveTree(AT_FDCWD, path_.string(), 0);
    throw PictarixError("Cannot lock folder \"" + path_.string() + "\". " + SystemErrorText(error));
  }
  lock_ = lock;
}

LiveTempFolder::~LiveTempFolder() {
  RemoveTree(AT_FDCWD, path_.string(), 0);
  ::close(lock_);
}

int RemoveAbandonedTempFolders(const std::filesystem::path& parent, const std::string& prefix) {
  OpenedFile opened = OpenForReading(parent);
  if (!opened.Handle.IsOpen() || opened.Handle.Kind != FileKind::Directory) return 0;
  FolderReader folder(std::move(opened.Handle));
  std::vector<DirectoryEntry> entries;
  folder.List(entries);
  int removed = 0;
  for (const DirectoryEntry& entry : entries) {
    const pid_t pid = PidInName(entry.Name, prefix);
    if (pid == 0) continue;
    FileHandle lock;
    if (IsAbandoned(folder.Descriptor(), entry.Name, pid, lock) &&
        RemoveTree(folder.Descriptor(), entry.Name, 0)) {
      ++removed;
    }
  }
  return removed;
}

}  // namespace pictarix
