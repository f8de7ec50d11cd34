#include "formats/IconLibrary.h"

#include <algorithm>
#include <memory>
#include <type_traits>

#include "formats/FileIcons.h"
#include "os/Stream.h"

namespace pictarix {
namespace {

// A name made only of characters up to the blank (code 32 or less) trims to nothing.
bool IsBlankName(const std::filesystem::path& fileName) {
  using Char = std::filesystem::path::value_type;
  const auto& text = fileName.native();
  return std::all_of(text.begin(), text.end(),
                     [](Char c) { return static_cast<std::make_unsigned_t<Char>>(c) <= 32; });
}

}  // namespace

void IconLibrary::Clear() {
  FileName.clear();
  LeftOut.clear();
  Icons.Clear();
}

LoadOutcome IconLibrary::LoadFromFile(const std::filesystem::path& fileName) {
  if (IsBlankName(fileName)) {
    Clear();
    return LoadOutcome::NotModule;
  }
  // Only regular files are read: a folder is no file, and a FIFO or device is left unread.
  const std::unique_ptr<FileStream> stream = FileStream::OpenIfRegular(fileName);
  if (!stream) return LoadOutcome::NotModule;
  FileIconsOptions options;
  options.IconFiles = false;
  options.Progress = [this](std::int32_t total, std::int32_t current) {
    DoProgress(total, current);
  };
  FileIcons read;
  try {
    read = ReadFileIcons(*stream, fileName, options);
  } catch (...) {
    Clear();
    throw;
  }
  if (read.Found == Container::None) return LoadOutcome::NotModule;
  Clear();
  Icons.AddAll(std::move(read.Icons));
  LeftOut = std::move(read.LeftOut);
  FileName = fileName;
  return LoadOutcome::Loaded;
}

void IconLibrary::DoProgress(std::int32_t total, std::int32_t current) {
  if (OnProgress) OnProgress(*this, total, current);
}

bool IsIconLibraryFile(const std::filesystem::path& fileName) {
  try {
    const std::unique_ptr<FileStream> stream = FileStream::OpenIfRegular(fileName);
    if (!stream) return false;
    FileIconsOptions options;
    options.IconFiles = false;
    options.AllOrNothing = true;  // the whole file must read
    const FileIcons read = ReadFileIcons(*stream, fileName, options);
    return read.Found == Container::NeModule && read.IconsOnly;
  } catch (const std::exception&) {
    return false;  // cannot be opened or read
  }
}

}  // namespace pictarix
