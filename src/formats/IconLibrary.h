#pragma once
// The icons of one file: loading any module (a 32-bit PE or a 16-bit NE module, chosen by the
// file's content, through ReadFileIcons) into a named list (SaveIconLibrary, in output/, writes
// one as a library).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "formats/ICLReader.h"
#include "formats/IconList.h"

namespace pictarix {

// An icon library holds at most this many icons (and as many images in all).
constexpr std::int32_t kMaxLibraryIcons = 32767;

// What LoadFromFile did: found no module (list untouched) or loaded the module's icons.
enum class LoadOutcome { NotModule, Loaded };

class IconLibrary;
using ProgressEvent =
    std::function<void(IconLibrary& sender, std::int32_t total, std::int32_t current)>;

class IconLibrary {
 public:
  IconLibrary() = default;
  ~IconLibrary() = default;
  IconLibrary(const IconLibrary&) = delete;
  IconLibrary& operator=(const IconLibrary&) = delete;

  // Empties FileName, then the list.
  void Clear();
  // Replaces the list by the icons of one file. A blank name clears the library; a file that
  // is no module (missing, no MZ with PE or NE) leaves everything as it was. Errors of opening
  // the file and of reading the module (IconLibraryError with the reason) propagate, leaving the
  // list and FileName empty.
  LoadOutcome LoadFromFile(const std::filesystem::path& fileName);
  // Calls OnProgress, when set.
  void DoProgress(std::int32_t total, std::int32_t current);

  // The file most recently loaded; empty after Clear and after a load that raised.
  std::filesystem::path FileName;
  // What the last load left out of its file because of a limit, in plain words (the icons it
  // read are in the list); empty when the whole file was read.
  std::string LeftOut;
  ProgressEvent OnProgress;
  IconList Icons;
};

// Whether a file may be rewritten as an icon library: an NE module that reads without error and
// whose resources are all icon images and group icons (at least one record of them). A PE
// module, a 16-bit program with other resources, and a file that cannot be opened or read are
// not. Reads the whole file.
bool IsIconLibraryFile(const std::filesystem::path& fileName);

}  // namespace pictarix
