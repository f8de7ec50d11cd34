#pragma once
// An exclusive lock for a read-modify-write of one file that is replaced by renaming a new file
// over it (ReplaceFileContents).
#include <chrono>
#include <filesystem>

namespace pictarix {

// Holds the lock from construction to destruction. The lock is taken with flock on the file
// itself: it belongs to this open file, so the file's readers may open and close it meanwhile,
// and two writers in one process exclude each other too. A writer that waited while another
// renamed a new file over the name holds the lock of the old file; it sees the name changed,
// and locks the new file. While the file does not exist, its folder is locked instead, and the
// writer switches to the file when one appears. Writers that wait longer than `wait` raise
// PictarixError. Where neither file nor folder can be opened, nothing is locked: the read or
// the write that follows reports that.
class FileLock {
 public:
  static constexpr std::chrono::milliseconds kDefaultWait{10000};

  explicit FileLock(const std::filesystem::path& path,
                    std::chrono::milliseconds wait = kDefaultWait);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace pictarix
