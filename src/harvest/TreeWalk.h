#pragma once
// The walk of a folder tree: depth first, the names of each folder in byte order, every name
// opened relative to its open folder (no path length limits the depth, nothing is looked up
// from the root again). Only a bounded number of folders stay open however deep the tree is.
#include <filesystem>
#include <string>

#include "os/Files.h"

namespace pictarix {

class WalkVisitor {
 public:
  virtual ~WalkVisitor() = default;
  // Whether the walk is to end now.
  virtual bool Stopped() = 0;
  // Called before each name is handled (the window handles its pending messages here).
  virtual void Pause() = 0;
  // A file that is regular when listed: open as a regular file, or the error of its open.
  // Files gone since the listing, a link swapped in (never followed), and anything opened that
  // is no regular file (a FIFO or device swapped in) are left out without a call.
  virtual void File(const std::string& path, OpenedFile file) = 0;
  // A folder that could not be opened or listed (the names listed before a failure are walked).
  virtual void Unreadable(const std::string& path, const std::string& reason) = 0;
};

// Walks the tree at `root` (a link there is followed; no link inside is, to a file or a
// folder: each name is opened relative to its folder with O_NOFOLLOW). Paths
// handed to the visitor are `root`, "/" unless it ends in one, and the path inside the tree.
// A folder already visited in this walk (device and inode) is not entered again.
void WalkTree(const std::filesystem::path& root, WalkVisitor& visitor);

}  // namespace pictarix
