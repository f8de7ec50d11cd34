#include "platform/SafeFile.h"

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#include "platform/Errors.h"
#include "platform/OutputPath.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <fstream>
#endif

namespace pictarix {

namespace {

[[noreturn]] void ThrowCreateError(const std::filesystem::path& path, const std::string& reason) {
  throw EFCreateError("Cannot create file \"" + path.string() + "\". " + reason);
}

// A hidden name beside `name` for the new file before its rename; kept short enough for the
// file system's name limit.
std::string HiddenName(const std::string& name) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::string hidden = ".";
  hidden += name.substr(0, 200);
  hidden += '.';
  for (int i = 0; i < 8; ++i) hidden += kLetters[random() % (sizeof kLetters - 1)];
  return hidden;
}

#ifndef _WIN32

constexpr int kAttempts = 100;  // hidden names tried before giving up
// TryReplace's answer when the unnamed way is not available here (file system, no /proc).
constexpr int kNoUnnamedFile = -1;

class TDescriptor {
 public:
  explicit TDescriptor(int fd) : fd_(fd) {}
  ~TDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  TDescriptor(const TDescriptor&) = delete;
  TDescriptor& operator=(const TDescriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now and answers the error close reports (a delayed write error), or 0.
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return 0;
}

// The replaced file's owner and group go to the new file; only root may give a file away, and
// any user may give it a group of their own. Mode bits that run a program as its owner
// (setuid, setgid) or the sticky bit are never copied onto a file written by someone else.
int KeepOwnerAndMode(int fd, const struct stat& old) {
  struct stat made {};
  if (::fstat(fd, &made) != 0) return errno;
  if (made.st_uid != old.st_uid || made.st_gid != old.st_gid) {
    const bool root = ::geteuid() == 0;
    const uid_t owner = root ? old.st_uid : static_cast<uid_t>(-1);
    if (::fchown(fd, owner, old.st_gid) != 0 && root) return errno;
  }
  return ::fchmod(fd, old.st_mode & 0777) == 0 ? 0 : errno;
}

// Gives the unnamed file `fd` the name `hidden` in `folder`.
int LinkUnnamed(int fd, int folder, std::string& hidden, const std::string& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    hidden = HiddenName(name);
    if (::linkat(AT_FDCWD, self.c_str(), folder, hidden.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno == EEXIST) continue;
    // Without /proc, only a user who may open files by handle can name it.
    if (::linkat(fd, "", folder, hidden.c_str(), AT_EMPTY_PATH) == 0) return 0;
    hidden.clear();
    return errno == EEXIST ? EEXIST : kNoUnnamedFile;
  }
  hidden.clear();
  return EEXIST;
}

int CreateNamed(int folder, std::string& hidden, const std::string& name) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    hidden = HiddenName(name);
    const int fd = ::openat(folder, hidden.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST) break;
  }
  const int error = errno;
  hidden.clear();
  errno = error;
  return -1;
}

// Writes the new file and renames it over `name`; answers 0, an errno value or kNoUnnamedFile.
// Whatever was made is removed again on failure.
int TryReplace(int folder, const std::string& name, std::span<const std::uint8_t> bytes,
               const struct stat* old, bool unnamed) {
  std::string hidden;
  const int fd = unnamed ? ::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666)
                         : CreateNamed(folder, hidden, name);
  if (fd < 0) {
    // Kernels and file systems without unnamed files answer one of these.
    const bool lacking = errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL;
    return unnamed && lacking ? kNoUnnamedFile : errno;
  }
  TDescriptor file(fd);
  int error = old != nullptr ? KeepOwnerAndMode(fd, *old) : 0;
  if (error == 0) error = WriteAll(fd, bytes);
  if (error == 0 && ::fsync(fd) != 0) error = errno;
  if (error == 0 && unnamed) error = LinkUnnamed(fd, folder, hidden, name);
  if (const int closed = file.Close(); error == 0) error = closed;
  if (error == 0 && ::renameat(folder, hidden.c_str(), folder, name.c_str()) != 0) error = errno;
  if (error != 0) {
    if (!hidden.empty()) ::unlinkat(folder, hidden.c_str(), 0);
    return error;
  }
  ::fsync(folder);  // the rename is done; a folder opened only as a path cannot be flushed
  return 0;
}

#endif

}  // namespace

void ReplaceFileContents(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
  const std::filesystem::path path = ResolveOutputPath(target);
  const std::string name = path.filename().string();
  if (name.empty()) ThrowCreateError(target, SystemErrorText(EISDIR));
#ifdef _WIN32
  const std::filesystem::path temporary = path.parent_path() / HiddenName(name);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      out.close();
      std::filesystem::remove(temporary);
      ThrowCreateError(target, SystemErrorText(EIO));
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::filesystem::remove(temporary);
    ThrowCreateError(target, error.message());
  }
#else
  const std::filesystem::path folderPath = path.parent_path();
  int folderFd = ::open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that may be entered but not listed still takes new files.
  if (folderFd < 0 && errno == EACCES) {
    folderFd = ::open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  }
  if (folderFd < 0) ThrowCreateError(target, SystemErrorText(errno));
  const TDescriptor folder(folderFd);

  struct stat old {};
  const bool exists = ::fstatat(folder.Get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
  if (exists && S_ISDIR(old.st_mode)) ThrowCreateError(target, SystemErrorText(EISDIR));
  if (exists && !S_ISREG(old.st_mode)) ThrowCreateError(target, "It is not a regular file");

  const struct stat* replaced = exists ? &old : nullptr;
  int error = TryReplace(folder.Get(), name, bytes, replaced, true);
  if (error == kNoUnnamedFile) error = TryReplace(folder.Get(), name, bytes, replaced, false);
  if (error != 0) ThrowCreateError(target, SystemErrorText(error));
#endif
}

}  // namespace pictarix
