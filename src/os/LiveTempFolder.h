#pragma once
// A private temporary folder that lives exactly as long as the process using it. Its name
// carries the process id, and a lock file inside stays locked (flock) while the owner runs, so a
// folder left behind by a process that was killed is told from one in use, and removed by the
// next process that looks.
#include <filesystem>
#include <string>

namespace pictarix {

class LiveTempFolder {
 public:
  // Makes "<parent>/<prefix><pid>-XXXXXX" (mode 0700) and locks it; raises PictarixError when
  // it cannot.
  LiveTempFolder(const std::filesystem::path& parent, const std::string& prefix);
  // Removes the folder and everything in it.
  ~LiveTempFolder();
  LiveTempFolder(const LiveTempFolder&) = delete;
  LiveTempFolder& operator=(const LiveTempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  int lock_ = -1;
};

// Removes the folders "<prefix><pid>-XXXXXX" in `parent` that this user owns and whose owner is
// no longer running: their lock is free, or, while it is missing, their process is gone. Links
// are never followed, neither to such a folder nor inside it. Answers how many were removed.
int RemoveAbandonedTempFolders(const std::filesystem::path& parent, const std::string& prefix);

}  // namespace pictarix
