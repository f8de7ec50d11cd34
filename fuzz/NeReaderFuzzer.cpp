// Feeds any bytes to the 16-bit NE reader as a file. Whatever it reads is written again as an
// icon library in memory and read back. Invariants checked: the reader never raises, the writer
// raises only its own limits, and a written library reads back with the same names, image
// counts, directory sizes and image bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "formats/IconLibrary.h"
#include "formats/ne/IconLibraryWriter.h"
#include "formats/ne/NeReader.h"
#include "os/Stream.h"

namespace {

using namespace pictarix;

void Check(bool condition) {
  if (!condition) std::abort();
}

std::vector<IconEntry> Read(std::vector<std::uint8_t> bytes, bool& ok) {
  NeReader reader("fuzz.icl", std::make_unique<MemoryStream>(std::move(bytes)));
  try {
    auto icons = reader.ReadIcons({});
    ok = true;
    return icons;
  } catch (const IconLibraryError&) {
    ok = false;
    return {};
  }
}

// The first BytesInRes bytes of an image as a writer stores them: what it holds, then zeros.
std::vector<std::uint8_t> Stored(const IconImage& image) {
  std::vector<std::uint8_t> bytes(image.BytesInRes, 0);
  const auto& held = image.Bytes();
  std::copy_n(held.begin(), std::min<std::size_t>(held.size(), bytes.size()), bytes.begin());
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  bool ok = false;
  std::vector<IconEntry> icons = Read(std::vector<std::uint8_t>(data, data + size), ok);
  if (!ok || icons.empty()) return 0;

  IconLibrary library;
  library.Icons.AddAll(std::move(icons));
  std::vector<std::uint8_t> written;
  try {
    written = IconLibraryWriter(library.Icons).Assemble();
  } catch (const IconLibraryError&) {
    return 0;  // beyond a limit of the format or of the reader: nothing is written
  }

  std::vector<IconEntry> back = Read(written, ok);
  Check(ok);
  Check(static_cast<std::int32_t>(back.size()) == library.Icons.Count());
  bool anyImage = false;
  for (std::int32_t i = 0; i < library.Icons.Count(); ++i) {
    const IconImageList& original = library.Icons.Icon(i).Images;
    const IconImageList& copy = back[static_cast<std::size_t>(i)].Icon->Images;
    Check(copy.Count() == original.Count());
    for (int j = 0; j < original.Count(); ++j) {
      anyImage = true;
      Check(copy.Get(j)->BytesInRes == original.Get(j)->BytesInRes);
      Check(Stored(*copy.Get(j)) == Stored(*original.Get(j)));
    }
  }
  // Without an icon-image record the reader reads no names and numbers the icons instead; a
  // first icon named exactly "ICL" reads back as the library's module name, which is dropped.
  if (anyImage && library.Icons.Name(0) != "ICL") {
    for (std::int32_t i = 0; i < library.Icons.Count(); ++i) {
      Check(back[static_cast<std::size_t>(i)].Name == library.Icons.Name(i));
    }
  }
  return 0;
}
