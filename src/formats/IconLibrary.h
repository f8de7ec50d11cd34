#pragma once
// The icons of one file: loading any module (a 32-bit PE or a 16-bit NE module, chosen by the
// file's content) into a named list (SaveIconLibrary, in output/, writes one as a library).
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "formats/ICLReader.h"
#include "formats/IconList.h"
#include "os/Stream.h"

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
  virtual ~IconLibrary() = default;
  IconLibrary(const IconLibrary&) = delete;
  IconLibrary& operator=(const IconLibrary&) = delete;

  // Empties FileName, then the list.
  void Clear();
  // Replaces the list by the icons of one file. A blank name clears the library; a file that
  // is no module (missing, no MZ with PE or NE) leaves everything as it was. Errors of opening
  // the file and of reading the module (IconLibraryError with the reason) propagate, leaving the
  // list and FileName empty.
  LoadOutcome LoadFromFile(const std::filesystem::path& fileName);
  // The same for a file already open: `fileName` names it in the list and in messages, and the
  // reader reads `stream` (from any position; nothing else opens the file).
  LoadOutcome LoadFromStream(const std::filesystem::path& fileName,
                             std::unique_ptr<ByteStream> stream);
  // Calls OnProgress, when set.
  void DoProgress(std::int32_t total, std::int32_t current);

  // Whether the file is a module by its signatures: "MZ" at 0, then "PE" (is32Bit) or "NE" at
  // the 16-bit offset held at 0x3C. A missing file, or one too short for any of the three
  // words, is not. An error of opening the file propagates.
  static bool IsIconModule(const std::filesystem::path& fileName, bool& is32Bit);
  // The same test on bytes already open (position undefined afterwards).
  static bool IsIconModule(ByteStream& stream, bool& is32Bit);
  // Reads the module with the matching reader and appends its icons; a failed read raises.
  // Sets LeftOut.
  void LoadModule(const std::filesystem::path& fileName, bool is32Bit);

  // The file most recently loaded; empty after Clear and after a load that raised.
  std::filesystem::path FileName;
  // What the last load left out of its file because of a limit, in plain words (the icons it
  // read are in the list); empty when the whole file was read.
  std::string LeftOut;
  ProgressEvent OnProgress;
  // Sounded by the 32-bit reader for a group named "#<number>" (the platform's default beep).
  std::function<void()> OnNumberedGroup;
  IconList Icons;

 protected:
  // The reader for a module, reading the stream of the file being loaded (or, outside a load,
  // opening the file itself).
  virtual std::unique_ptr<IconLibraryReader> CreateReader(const std::filesystem::path& fileName,
                                                          bool is32Bit);
  // The stream of the file being loaded (once), or the file opened anew outside a load.
  std::unique_ptr<ByteStream> TakeOpenStream(const std::filesystem::path& fileName);

 private:
  // The open file of the load in progress, until CreateReader hands it to the reader.
  std::unique_ptr<ByteStream> openStream_;
};

// Whether a file may be rewritten as an icon library: an NE module that reads without error and
// whose resources are all icon images and group icons (at least one record of them). A PE
// module, a 16-bit program with other resources, and a file that cannot be opened or read are
// not. Reads the whole file.
bool IsIconLibraryFile(const std::filesystem::path& fileName);

}  // namespace pictarix
