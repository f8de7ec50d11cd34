#include "formats/FileIcons.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>

#include "formats/ICLReader.h"
#include "formats/ico/IconFileReader.h"
#include "formats/ne/NeIcon.h"
#include "formats/ne/NeReader.h"
#include "formats/ne/NeStructures.h"
#include "formats/pe/PeReader.h"
#include "formats/pe/PeResources.h"
#include "os/ByteCursor.h"
#include "os/CodePage.h"

namespace pictarix {
namespace {

// The name after the last "/" (the folder separator on this platform).
std::string NameWithoutFolder(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The extension test of the icon-file fallback: the characters after the last dot of the name,
// ASCII letters lower-cased, are "ico".
bool HasIcoExtension(const std::string& name) {
  const auto dot = name.find_last_of('.');
  if (dot == std::string::npos || name.size() - dot != 4) return false;
  std::string ext = name.substr(dot + 1);
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext == "ico";
}

std::string WithoutExtension(const std::string& name) {
  const auto dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

FileIcons ReadNeIcons(ByteStream& stream, const std::filesystem::path& name,
                      const FileIconsOptions& options) {
  NeReader reader(name, std::make_unique<BorrowedStream>(stream));
  const NeResourceTable table = reader.ReadResourceTable();
  NeBlocks blocks = reader.Blocks(table);
  FileIcons read;
  read.Found = Container::NeModule;
  read.Icons = BuildICL16Icons(
      table, blocks, reader.BaseName(), options.Progress,
      options.AllOrNothing ? MissingImage::FailTheRead : MissingImage::LeaveOutTheIcon);
  const auto& types = table.TypeIds;
  read.IconsOnly = !types.empty() && std::all_of(types.begin(), types.end(), [](auto type) {
    return IsPredefinedType(type, kResourceTypeIcon) ||
           IsPredefinedType(type, kResourceTypeGroupIcon);
  });
  return read;
}

// A file that is no module, read as an icon file: one icon named after the file, or nothing when
// the header is no icon header.
FileIcons ReadIconFileIcon(ByteStream& stream, const std::string& fileName) {
  FileIcons read;
  try {
    auto icon = std::make_unique<AdvancedIcon>();
    stream.Seek(0);
    if (!ReadIconFile(stream, *icon)) return read;
    read.Found = Container::IconFile;
    read.Icons.push_back(
        IconEntry{SanitizeUtf8(WithoutExtension(NameWithoutFolder(fileName))), std::move(icon)});
  } catch (const std::exception&) {
    read.Found = Container::IconFile;
    read.IconFileError = std::current_exception();
  }
  return read;
}

}  // namespace

Container DetectModule(ByteStream& stream) {
  // The MZ header up to the new header's offset, read once.
  const std::vector<std::uint8_t> mzBytes = ReadBytesAt(stream, 0, kNewHeaderOffsetField + 2);
  const ByteCursor mz(mzBytes);
  if (mz.U16At(0) != kMzSignature) return Container::None;
  const auto headerOffset = mz.U16At(kNewHeaderOffsetField);
  if (!headerOffset) return Container::None;
  const auto signature = ByteCursor(ReadBytesAt(stream, *headerOffset, 2)).U16At(0);
  if (signature == kPeSignature) return Container::PeModule;
  if (signature == kNeSignature) return Container::NeModule;
  return Container::None;
}

FileIcons ReadFileIcons(ByteStream& stream, const std::filesystem::path& name,
                        const FileIconsOptions& options) {
  switch (DetectModule(stream)) {
    case Container::PeModule: {
      const auto module = PeResources::Open(std::make_unique<BorrowedStream>(stream));
      if (!module) throw IconLibraryError("Not a valid 32-bit module");
      return ReadPeIcons(*module, options);
    }
    case Container::NeModule:
      return ReadNeIcons(stream, name, options);
    default:
      break;
  }
  const std::string fileName = name.string();
  if (!options.IconFiles || options.Stop.stop_requested() ||
      !HasIcoExtension(NameWithoutFolder(fileName))) {
    return {};
  }
  return ReadIconFileIcon(stream, fileName);
}

}  // namespace pictarix
