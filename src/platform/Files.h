#pragma once
// File-system questions the harvest asks, answered with as few system calls as possible.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pictarix {

// True when `path` names an existing directory (a link to one counts).
bool IsDirectory(const std::filesystem::path& path);
// True when `path` names a regular file after following links (FIFOs, sockets, devices and
// directories are not).
bool IsRegularFile(const std::filesystem::path& path);

// Identity of a directory, to notice one already visited through another path.
struct DirectoryId {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  bool operator==(const DirectoryId&) const = default;
};
std::optional<DirectoryId> IdentifyDirectory(const std::filesystem::path& path);

// One entry of a directory listing, as the file system lists it.
struct DirectoryEntry {
  std::string Name;              // without folder, in the file system's own bytes
  bool IsRealDirectory = false;  // a directory itself, not a link to one
};

// Lists `directory` in the order the file system gives ("." and ".." left out). False when it
// cannot be listed (then `entries` holds what was read before the failure).
bool ListDirectory(const std::filesystem::path& directory, std::vector<DirectoryEntry>& entries);

}  // namespace pictarix
