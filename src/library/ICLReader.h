#pragma once
// The base of the module readers: a reader reads one file for one library and hands its named
// icons over after a successful read.
#include <filesystem>
#include <vector>

#include "library/IconList.h"
#include "platform/Errors.h"

namespace pictarix {

class TIconLibrary;

// Format errors of the icon-library subsystem and its two save limits.
class EICLReadError : public EPictarixError {
 public:
  using EPictarixError::EPictarixError;
};

class TICLReader {
 public:
  TICLReader(TIconLibrary& library, std::filesystem::path fileName)
      : library_(library), fileName_(std::move(fileName)) {}
  virtual ~TICLReader() = default;
  TICLReader(const TICLReader&) = delete;
  TICLReader& operator=(const TICLReader&) = delete;

  // Fills Icons; whether the read succeeded.
  virtual bool ReadIcons() = 0;

  // The library the reader reports progress through (not owned).
  TIconLibrary& Library() const { return library_; }
  const std::filesystem::path& FileName() const { return fileName_; }
  // The result: named icons in file order, owned by the reader until taken.
  const std::vector<TIconEntry>& Icons() const { return icons_; }
  std::vector<TIconEntry> TakeIcons() {
    std::vector<TIconEntry> taken;
    taken.swap(icons_);
    return taken;
  }

 protected:
  std::vector<TIconEntry> icons_;

 private:
  TIconLibrary& library_;
  std::filesystem::path fileName_;
};

}  // namespace pictarix
