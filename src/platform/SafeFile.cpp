#include "platform/SafeFile.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "platform/Errors.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <fstream>
#endif

namespace pictarix {

namespace {

[[noreturn]] void ThrowCreateError(const std::filesystem::path& path, int error) {
  throw EFCreateError("Cannot create file \"" + path.string() + "\". " + SystemErrorText(error));
}

std::filesystem::path ResolveLinks(const std::filesystem::path& target) {
  std::error_code error;
  std::filesystem::path current = target;
  // Follow a chain of links by hand so that a link to a file not yet made still resolves.
  for (int hops = 0; hops < 40 && std::filesystem::is_symlink(current, error); ++hops) {
    auto next = std::filesystem::read_symlink(current, error);
    if (error) break;
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return current;
}

#ifndef _WIN32

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

void WriteInPlace(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) ThrowCreateError(path, errno);
  if (!WriteAll(fd, bytes) || ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    ThrowCreateError(path, error);
  }
  if (::close(fd) != 0) ThrowCreateError(path, errno);
}

#endif

}  // namespace

void ReplaceFileContents(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
  const std::filesystem::path path = ResolveLinks(target);
#ifdef _WIN32
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) ThrowCreateError(path, errno);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) ThrowCreateError(path, errno);
#else
  struct stat existing {};
  const bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists && !S_ISREG(existing.st_mode)) ThrowCreateError(path, EISDIR);

  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::string hiddenName = ".";  // built piecewise: GCC 12 warns falsely on "." + string
  hiddenName += path.filename().string();
  hiddenName += ".XXXXXX";
  std::string pattern = (folder / hiddenName).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    if (errno == EACCES || errno == EPERM || errno == EROFS || errno == ENOSPC) {
      WriteInPlace(path, bytes);
      return;
    }
    ThrowCreateError(path, errno);
  }
  const std::filesystem::path temporary = pattern;
  mode_t mode = 0;
  if (exists) {
    mode = existing.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  int error = 0;
  if (::fchmod(fd, mode) != 0 || !WriteAll(fd, bytes) || ::fsync(fd) != 0) error = errno;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(temporary.c_str());
    ThrowCreateError(path, error);
  }
#endif
}

}  // namespace pictarix
