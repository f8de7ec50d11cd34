#include "platform/Files.h"

#include <cerrno>
#include <memory>
#include <string_view>
#include <system_error>

#ifndef _WIN32
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace pictarix {

#ifndef _WIN32

bool IsDirectory(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsRegularFile(const std::filesystem::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<DirectoryId> IdentifyDirectory(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
  return DirectoryId{static_cast<std::uint64_t>(info.st_dev),
                     static_cast<std::uint64_t>(info.st_ino)};
}

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

bool IsRealDirectory(const std::filesystem::path& folder, const dirent& entry) {
#ifdef _DIRENT_HAVE_D_TYPE
  if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_DIR;
#endif
  struct stat info {};
  return ::lstat((folder / entry.d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool ListDirectory(const std::filesystem::path& directory, std::vector<DirectoryEntry>& entries) {
  std::unique_ptr<DIR, DirCloser> dir(::opendir(directory.c_str()));
  if (!dir) return false;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir.get());
    if (entry == nullptr) return errno == 0;
    const std::string_view name(entry->d_name);
    if (name == "." || name == "..") continue;
    entries.push_back(DirectoryEntry{std::string(name), IsRealDirectory(directory, *entry)});
  }
}

#else

bool IsDirectory(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

bool IsRegularFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

std::optional<DirectoryId> IdentifyDirectory(const std::filesystem::path& path) {
  std::error_code error;
  const auto canonical = std::filesystem::canonical(path, error);
  if (error) return std::nullopt;
  return DirectoryId{0, std::hash<std::wstring>{}(canonical.native())};
}

bool ListDirectory(const std::filesystem::path& directory, std::vector<DirectoryEntry>& entries) {
  std::error_code error;
  std::filesystem::directory_iterator it(directory, error), end;
  for (; !error && it != end; it.increment(error)) {
    entries.push_back(DirectoryEntry{it->path().filename().string(),
                                     it->is_directory(error) && !it->is_symlink(error)});
  }
  return !error;
}

#endif

}  // namespace pictarix
