#include "output/OutputFiles.h"

#include "formats/IconLibrary.h"
#include "formats/ani/AnimatedCursorWriter.h"
#include "formats/cur/CursorFileWriter.h"
#include "formats/ico/IconFileWriter.h"
#include "formats/ne/IconLibraryWriter.h"
#include "os/Errors.h"
#include "os/SafeFile.h"
#include "os/Stream.h"

namespace pictarix {

void SavePictureFile(std::span<const std::uint8_t> bytes, const std::filesystem::path& fileName) {
  ReplaceFileContents(fileName, bytes);
}

void SaveIconFile(const AdvancedIcon& icon, const std::filesystem::path& fileName) {
  MemoryStream stream;
  WriteIconFile(icon, stream);
  if (stream.Size() > 0) ReplaceFileContents(fileName, stream.Bytes());
}

void SaveCursorFile(const AdvancedIcon& cursor, const std::filesystem::path& fileName) {
  MemoryStream stream;
  WriteCursorFile(cursor, stream);
  if (stream.Size() > 0) ReplaceFileContents(fileName, stream.Bytes());
}

void SaveAnimatedCursorFile(const AdvancedIcon& cursor, const std::filesystem::path& fileName) {
  MemoryStream stream;
  WriteAnimatedCursor(cursor, stream);
  if (stream.Size() > 0) ReplaceFileContents(fileName, stream.Bytes());
}

void SaveIconLibrary(const IconList& icons, const std::filesystem::path& fileName,
                     ProgressCallback progress) {
  if (icons.Count() == 0) throw IconLibraryError("Unable to write Iconlibrary with no icons");
  if (icons.Count() > kMaxLibraryIcons) {
    throw IconLibraryError("Iconlibraries with more than 32767 Icons are not possible");
  }
  IconLibraryWriter writer(icons, std::move(progress));
  writer.Plan();  // a library that is refused leaves the target untouched
  SafeFileWriter file(fileName);
  writer.Write(file);
  file.Commit();
}

}  // namespace pictarix
