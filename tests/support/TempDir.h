#pragma once
// A fresh temporary folder for one test, removed with everything in it afterwards.
#include <filesystem>

namespace pictarix::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace pictarix::testing
