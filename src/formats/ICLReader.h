#pragma once
// The base of the module readers: a reader reads one file and hands its named icons over.
#include <filesystem>
#include <string>
#include <vector>

#include "formats/IconList.h"
#include "formats/Progress.h"
#include "os/Errors.h"

namespace pictarix {

// Format errors of the icon-library subsystem and its two save limits. The message says why a
// file could not be read.
class IconLibraryError : public PictarixError {
 public:
  using PictarixError::PictarixError;
};

// A group names an icon image that the file does not hold.
class IconImageMissing : public IconLibraryError {
 public:
  IconImageMissing() : IconLibraryError("Icon Resource Not Found") {}
};

class IconLibraryReader {
 public:
  explicit IconLibraryReader(std::filesystem::path fileName) : fileName_(std::move(fileName)) {}
  virtual ~IconLibraryReader() = default;
  IconLibraryReader(const IconLibraryReader&) = delete;
  IconLibraryReader& operator=(const IconLibraryReader&) = delete;

  // The named icons of the file in file order, reporting progress after each icon. A file that
  // cannot be read raises (IconLibraryError with the reason); no icons are kept then.
  virtual std::vector<IconEntry> ReadIcons(const ProgressCallback& progress) = 0;

  const std::filesystem::path& FileName() const { return fileName_; }
  // After ReadIcons: what a limit left out of the file, in plain words ("Part of this file was
  // left out: ..."); empty when the whole file was read. The icons read are kept either way.
  const std::string& LeftOut() const { return leftOut_; }

 protected:
  void SetLeftOut(std::string text) { leftOut_ = std::move(text); }

 private:
  std::filesystem::path fileName_;
  std::string leftOut_;
};

}  // namespace pictarix
