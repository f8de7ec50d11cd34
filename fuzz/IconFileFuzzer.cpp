// Feeds any bytes to the icon-file loader, then exercises every loaded image (handle, graphic),
// sorting, copying and saving. Invariants checked: a PNG image the quick check passes decodes;
// a written icon reloads with the same images, writing it again gives the same bytes, and a copy
// writes the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/ico/IconFileReader.h"
#include "formats/ico/IconFileWriter.h"
#include "formats/png/PngCheck.h"
#include "formats/png/PngDecoder.h"
#include "imaging/HiResIcon.h"
#include "imaging/IconDraw.h"
#include "imaging/ImagePicture.h"
#include "model/AdvancedIcon.h"
#include "os/Errors.h"

namespace {

std::vector<std::uint8_t> Save(const pictarix::AdvancedIcon& icon) {
  pictarix::MemoryStream out;
  WriteIconFile(icon, out);
  return out.TakeBytes();
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pictarix;
  MemoryStream input(std::vector<std::uint8_t>(data, data + size));
  AdvancedIcon icon;
  try {
    ReadIconFile(input, icon);
  } catch (const PictarixError&) {
    // Refused input; the images read before the failure stay and are exercised below.
  }
  RgbaCanvas canvas(40, 40);
  for (int i = 0; i < icon.Images.Count(); ++i) {
    IconImage* image = icon.Images.Get(i);
    // What the quick check of stored PNG images passes, the decoder must decode.
    Check(!IsSoundPng(image->Bytes()) || DecodeIconPng(image->Bytes()) != nullptr);
    DecodedPicture(*image);
    auto graphic = MakeGraphic(*image);
    graphic->GetWidth();
    if (!graphic->Empty()) graphic->Draw(canvas, IconRect{-3, 2, 34, 34});
  }
  icon.Images.Sort();

  const std::vector<std::uint8_t> written = Save(icon);
  MemoryStream again(written);
  AdvancedIcon reloaded;
  const bool loaded = ReadIconFile(again, reloaded);
  Check(icon.Images.Count() == 0 ? written.empty() : loaded);
  Check(reloaded.Images.Count() == icon.Images.Count());
  Check(Save(reloaded) == written);

  AdvancedIcon copy;
  copy.Assign(icon);
  Check(Save(copy) == written);
  return 0;
}
