#pragma once
// Files and folders opened once and read through their descriptors. A walk opens every name
// relative to its open folder, so no path length limits its depth and no name is looked up from
// the root again. Opening never blocks: FIFOs and devices open without waiting, and the open
// descriptor (not the name) says what was opened.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pictarix {

// True when `path` names an existing directory (a link to one counts).
bool IsDirectory(const std::filesystem::path& path);

// Identity of a file or folder, to notice a folder already visited through another path.
struct DirectoryId {
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
  bool operator==(const DirectoryId&) const = default;
};

enum class FileKind { Regular, Directory, Link, Other, Unknown };

// An open descriptor with what fstat said about it.
class FileHandle {
 public:
  FileHandle() = default;
  // Takes over an open descriptor (the fields are filled by whoever opened it).
  explicit FileHandle(int descriptor) : descriptor_(descriptor) {}
  ~FileHandle();
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool IsOpen() const { return descriptor_ >= 0; }
  int Descriptor() const { return descriptor_; }
  // Gives up the descriptor (the caller closes it).
  int Release();

  FileKind Kind = FileKind::Other;
  std::uint64_t Size = 0;
  // What the storage holds for the file: less than Size for a sparse file.
  std::uint64_t StoredBytes = 0;
  DirectoryId Id;

 private:
  int descriptor_ = -1;
};

// The result of an open: a handle, or the system's error number (then Handle is closed).
struct OpenedFile {
  FileHandle Handle;
  int Error = 0;
};

// Opens a file or folder for reading, following links. Never blocks on a FIFO or device.
OpenedFile OpenForReading(const std::filesystem::path& path);
// Opens `name` inside the open folder `folder` for reading without following a final link: a
// link there fails with ELOOP and is never opened, whatever it points at.
OpenedFile OpenInFolder(int folder, const std::string& name);
// Opens the folder `name` inside `folder`; a link or anything but a folder is refused.
OpenedFile OpenSubfolder(int folder, const std::string& name);
// The kind of `name` inside `folder` (AT_FDCWD for a path), after following a final link when
// `follow`; the error number in `error` when it cannot be told.
FileKind KindOf(int folder, const std::string& name, bool follow, int& error);
// The folder holding the open folder `folder` (its "..").
OpenedFile OpenParentFolder(int folder);

// One name of a folder listing with the kind the listing gives (Unknown where it gives none).
struct DirectoryEntry {
  std::string Name;  // without folder, in the file system's own bytes
  FileKind Kind = FileKind::Unknown;
};

// An open folder being read: its names, then the files and folders inside it by name.
class FolderReader {
 public:
  // Takes over an open folder.
  explicit FolderReader(FileHandle folder);
  ~FolderReader();
  FolderReader(const FolderReader&) = delete;
  FolderReader& operator=(const FolderReader&) = delete;

  // Appends every name ("." and ".." left out) in byte order; 0, or the error number that ended
  // the listing (then the names read before it are there).
  int List(std::vector<DirectoryEntry>& entries);
  int Descriptor() const { return descriptor_; }

 private:
  void* dir_ = nullptr;  // the C library's directory stream, which owns the descriptor
  int descriptor_ = -1;
};

}  // namespace pictarix
