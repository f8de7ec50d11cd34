#include "os/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <utility>

namespace pictarix {

namespace {

// Read-only, never waiting for a writer of a FIFO, never becoming the controlling terminal.
constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
constexpr int kFolderFlags = kReadFlags | O_DIRECTORY | O_NOFOLLOW;
// A name inside a tree: a link swapped in after the listing is refused by the open itself, so
// the device or file it points at is never opened.
constexpr int kInFolderFlags = kReadFlags | O_NOFOLLOW;

FileKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::Regular;
  if (S_ISDIR(mode)) return FileKind::Directory;
  if (S_ISLNK(mode)) return FileKind::Link;
  return FileKind::Other;
}

FileKind KindOfType(unsigned char type) {
  switch (type) {
    case DT_REG:
      return FileKind::Regular;
    case DT_DIR:
      return FileKind::Directory;
    case DT_LNK:
      return FileKind::Link;
    case DT_UNKNOWN:
      return FileKind::Unknown;
    default:
      return FileKind::Other;
  }
}

// Wraps a descriptor just opened (or -1) and asks the descriptor what it is.
OpenedFile Described(int descriptor) {
  OpenedFile opened;
  if (descriptor < 0) {
    opened.Error = errno;
    return opened;
  }
  opened.Handle = FileHandle(descriptor);
  struct stat info {};
  if (::fstat(descriptor, &info) != 0) {
    opened.Error = errno;
    opened.Handle = FileHandle();
    return opened;
  }
  FileHandle& handle = opened.Handle;
  handle.Kind = KindOfMode(info.st_mode);
  handle.Size = info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
  const std::uint64_t allocated = static_cast<std::uint64_t>(info.st_blocks) * 512u;
  handle.StoredBytes = std::min(handle.Size, allocated);
  handle.Id =
      DirectoryId{static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
  return opened;
}

}  // namespace

bool IsDirectory(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

FileHandle::~FileHandle() {
  if (descriptor_ >= 0) ::close(descriptor_);
}

FileHandle::FileHandle(FileHandle&& other) noexcept {
  *this = std::move(other);
}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = std::exchange(other.descriptor_, -1);
    Kind = other.Kind;
    Size = other.Size;
    StoredBytes = other.StoredBytes;
    Id = other.Id;
  }
  return *this;
}

int FileHandle::Release() {
  return std::exchange(descriptor_, -1);
}

OpenedFile OpenForReading(const std::filesystem::path& path) {
  return Described(::open(path.c_str(), kReadFlags));
}

OpenedFile OpenInFolder(int folder, const std::string& name) {
  return Described(::openat(folder, name.c_str(), kInFolderFlags));
}

OpenedFile OpenSubfolder(int folder, const std::string& name) {
  return Described(::openat(folder, name.c_str(), kFolderFlags));
}

OpenedFile OpenParentFolder(int folder) {
  return Described(::openat(folder, "..", kReadFlags | O_DIRECTORY));
}

FileKind KindOf(int folder, const std::string& name, bool follow, int& error) {
  struct stat info {};
  if (::fstatat(folder, name.c_str(), &info, follow ? 0 : AT_SYMLINK_NOFOLLOW) != 0) {
    error = errno;
    return FileKind::Unknown;
  }
  error = 0;
  return KindOfMode(info.st_mode);
}

FolderReader::FolderReader(FileHandle folder) {
  const int descriptor = folder.Release();
  DIR* dir = ::fdopendir(descriptor);
  if (dir == nullptr) {
    ::close(descriptor);
    return;
  }
  dir_ = dir;
  descriptor_ = ::dirfd(dir);
}

FolderReader::~FolderReader() {
  if (dir_ != nullptr) ::closedir(static_cast<DIR*>(dir_));
}

int FolderReader::List(std::vector<DirectoryEntry>& entries) {
  if (dir_ == nullptr) return EBADF;
  const std::size_t first = entries.size();
  int error = 0;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(static_cast<DIR*>(dir_));
    if (entry == nullptr) {
      error = errno;
      break;
    }
    const std::string_view name(entry->d_name);
    if (name == "." || name == "..") continue;
    entries.push_back(DirectoryEntry{std::string(name), KindOfType(entry->d_type)});
  }
  // Byte order: std::string compares its characters as unsigned bytes.
  std::sort(entries.begin() + static_cast<std::ptrdiff_t>(first), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.Name < b.Name; });
  return error;
}

}  // namespace pictarix
