#include "os/FileLock.h"

#include <cerrno>
#include <string>
#include <thread>

#include "os/Errors.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pictarix {

#ifndef _WIN32

namespace {

constexpr std::chrono::milliseconds kPollInterval{20};

[[noreturn]] void ThrowBusy(const std::filesystem::path& path) {
  throw PictarixError("Cannot lock file \"" + path.string() + "\". Another program is changing it");
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the lock on `fd` still guards `path`: the name still names the locked file, or, for a
// locked folder, the name is still free.
bool StillGuards(int fd, bool folder, const std::filesystem::path& path) {
  struct stat named {};
  const bool exists = ::lstat(path.c_str(), &named) == 0;
  if (folder) return !exists;
  struct stat locked {};
  return exists && ::fstat(fd, &locked) == 0 && SameFile(locked, named);
}

}  // namespace

FileLock::FileLock(const std::filesystem::path& path, std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    // Non-blocking, so that a FIFO put in the file's place cannot stall the open.
    int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    const bool folder = fd < 0 && errno == ENOENT;
    if (folder) {
      std::filesystem::path parent = path.parent_path();
      if (parent.empty()) parent = ".";
      fd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    if (fd < 0) return;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno != EWOULDBLOCK && errno != EINTR) break;  // no locks here: go on without
      if (std::chrono::steady_clock::now() >= deadline) {
        ::close(fd);
        ThrowBusy(path);
      }
      std::this_thread::sleep_for(kPollInterval);
    }
    if (StillGuards(fd, folder, path)) {
      fd_ = fd;
      return;
    }
    ::close(fd);  // replaced (or made) by the writer we waited for: lock the file now named
    if (std::chrono::steady_clock::now() >= deadline) ThrowBusy(path);
  }
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the last descriptor of the open file unlocks it
}

#else

FileLock::FileLock(const std::filesystem::path&, std::chrono::milliseconds) {}
FileLock::~FileLock() = default;

#endif

}  // namespace pictarix
