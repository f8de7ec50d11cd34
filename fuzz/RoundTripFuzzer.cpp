// Loads any bytes the way the harvest does (a PE or NE module through the library's readers,
// anything else as an icon file), then writes every icon as an icon file and the whole list as
// an icon library, and reads both back. Invariants checked: what was read writes without error
// (short of the formats' own limits) and both copies read back with the same icons and images:
// the same BytesInRes, planes and stored bytes, and the same fields derived from those bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "formats/FileIcons.h"
#include "formats/IconLibrary.h"
#include "formats/ico/IconFileReader.h"
#include "formats/ico/IconFileWriter.h"
#include "formats/ne/IconLibraryWriter.h"
#include "formats/ne/NeReader.h"
#include "formats/pe/PeResources.h"
#include "model/AdvancedIcon.h"
#include "os/CodePage.h"
#include "os/Stream.h"

namespace {

using namespace pictarix;
using Bytes = std::vector<std::uint8_t>;

void Check(bool condition) {
  if (!condition) std::abort();
}

// The first BytesInRes bytes of an image as a writer stores them: what it holds, then zeros.
Bytes Stored(const IconImage& image) {
  Bytes bytes(image.BytesInRes, 0);
  const auto& held = image.Bytes();
  std::copy_n(held.begin(), std::min<std::size_t>(held.size(), bytes.size()), bytes.begin());
  return bytes;
}

void CheckSameImages(const AdvancedIcon& original, const AdvancedIcon& copy) {
  Check(copy.Images.Count() == original.Images.Count());
  for (int i = 0; i < original.Images.Count(); ++i) {
    const IconImage& a = *original.Images.Get(i);
    const IconImage& b = *copy.Images.Get(i);
    Check(a.BytesInRes == b.BytesInRes);
    Check(a.Planes == b.Planes);
    Check(Stored(a) == Stored(b));
    // Width, height and bit count come from the first 16 bytes of the data; a reader may hold
    // more bytes than BytesInRes (a whole resource, a block rounded to the alignment), and only
    // the stored ones survive a write.
    if (a.BytesInRes >= 16) {
      Check(a.EntryFields() == b.EntryFields());
    }
  }
}

// The icons of a module, read from memory; false when the bytes are no module or it fails.
bool ReadModule(const Bytes& bytes, IconLibrary& library) {
  MemoryStream stream(bytes);
  FileIconsOptions options;
  options.IconFiles = false;
  try {
    FileIcons read = ReadFileIcons(stream, "fuzz.icl", options);
    if (read.Found == Container::None) return false;
    library.Icons.AddAll(std::move(read.Icons));
  } catch (const PictarixError&) {
    return false;
  }
  return true;
}

// Reads the icons as an icon file; images read before a refusal stay.
void ReadIconFile(const Bytes& bytes, IconLibrary& library) {
  MemoryStream stream(bytes);
  auto icon = std::make_unique<AdvancedIcon>();
  try {
    ReadIconFile(stream, *icon);
  } catch (const PictarixError&) {
  }
  if (icon->Images.Count() > 0) library.Icons.AddIcon("fuzz", std::move(icon));
}

void CheckIconFileRoundTrip(const AdvancedIcon& icon) {
  MemoryStream written;
  WriteIconFile(icon, written);
  written.Seek(0);
  AdvancedIcon reread;
  if (icon.Images.Count() == 0) {
    Check(written.Size() == 0);
    return;
  }
  Check(ReadIconFile(written, reread));
  CheckSameImages(icon, reread);
}

void CheckLibraryRoundTrip(IconLibrary& library) {
  Bytes written;
  try {
    written = IconLibraryWriter(library.Icons).Assemble();
  } catch (const IconLibraryError&) {
    return;  // beyond a limit of the format or of the reader: nothing is written
  }
  NeReader reader("back.icl", std::make_unique<MemoryStream>(std::move(written)));
  const std::vector<IconEntry> back = reader.ReadIcons({});  // raises (and fails) if unreadable
  Check(static_cast<std::int32_t>(back.size()) == library.Icons.Count());
  bool anyImage = false;
  for (std::int32_t i = 0; i < library.Icons.Count(); ++i) {
    const AdvancedIcon& original = library.Icons.Icon(i);
    anyImage = anyImage || original.Images.Count() > 0;
    CheckSameImages(original, *back[static_cast<std::size_t>(i)].Icon);
  }
  // Names are stored in Windows-1252 ("?" for what it lacks), cut to 255 bytes. The reader
  // numbers the icons instead of naming them when the file has no icon-image record, when a
  // name is empty (its length byte 0 ends the stored names), and when the first name is "ICL"
  // (dropped with the module name). No library the program writes has either kind of name: its
  // names are numbers or names read from a library.
  std::vector<std::string> stored;
  bool paired = anyImage;
  for (std::int32_t i = 0; i < library.Icons.Count(); ++i) {
    const std::string bytes = Utf8ToWindows1252(library.Icons.Name(i));
    stored.push_back(Windows1252ToUtf8(bytes.substr(0, 255)));
    if (bytes.empty() || (i == 0 && bytes == "ICL")) paired = false;
  }
  if (paired) {
    for (std::int32_t i = 0; i < library.Icons.Count(); ++i) {
      Check(back[static_cast<std::size_t>(i)].Name == stored[static_cast<std::size_t>(i)]);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Bytes bytes(data, data + size);
  IconLibrary library;
  if (!ReadModule(bytes, library)) ReadIconFile(bytes, library);
  if (library.Icons.Count() == 0) return 0;
  for (std::int32_t i = 0; i < library.Icons.Count(); ++i) {
    CheckIconFileRoundTrip(library.Icons.Icon(i));
  }
  CheckLibraryRoundTrip(library);
  return 0;
}
