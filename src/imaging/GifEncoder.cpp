#include "imaging/GifEncoder.h"

#include <gif_lib.h>

#include <cstddef>
#include <memory>
#include <string>

#include "imaging/ColorQuantizer.h"
#include "os/PictureError.h"

namespace pictarix {

namespace {

struct GifSink {
  std::vector<std::uint8_t> Bytes;
  bool Failed = false;
};

// giflib's output function. Exceptions must not cross the C library, so a failure to grow the
// buffer becomes a short write, which giflib reports as a write error.
int AppendToSink(GifFileType* gif, const GifByteType* bytes, int length) {
  auto* sink = static_cast<GifSink*>(gif->UserData);
  if (length < 0 || sink->Failed) return 0;
  try {
    sink->Bytes.insert(sink->Bytes.end(), bytes, bytes + length);
  } catch (...) {
    sink->Failed = true;
    return 0;
  }
  return length;
}

struct CloseGif {
  void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};
struct FreeColorMap {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

[[noreturn]] void Fail(int gifError) {
  const char* text = GifErrorString(gifError);
  throw PictureError(std::string("Cannot write a GIF picture: ") +
                     (text != nullptr ? text : "unknown error"));
}

// A GIF colour table holds a power of two entries, at least 2.
int ColorTableSize(std::size_t colors) {
  int size = 2;
  while (static_cast<std::size_t>(size) < colors) size *= 2;
  return size;
}

}  // namespace

std::vector<std::uint8_t> EncodeGif(const RgbImage& image) {
  if (!IsEncodable(image)) throw PictureError("Cannot write a GIF picture of this size");
  IndexedImage indexed = QuantizeColors(image);

  // Entries beyond the picture's colours stay black and are never used.
  std::vector<GifColorType> colors(static_cast<std::size_t>(ColorTableSize(indexed.Palette.size())),
                                   GifColorType{0, 0, 0});
  for (std::size_t i = 0; i < indexed.Palette.size(); ++i) {
    colors[i] = {indexed.Palette[i].R, indexed.Palette[i].G, indexed.Palette[i].B};
  }
  const std::unique_ptr<ColorMapObject, FreeColorMap> colorMap(
      GifMakeMapObject(static_cast<int>(colors.size()), colors.data()));
  if (!colorMap) Fail(E_GIF_ERR_NOT_ENOUGH_MEM);

  GifSink sink;
  int error = E_GIF_SUCCEEDED;
  std::unique_ptr<GifFileType, CloseGif> gif(EGifOpen(&sink, AppendToSink, &error));
  if (!gif) Fail(error);
  EGifSetGifVersion(gif.get(), true);
  if (EGifPutScreenDesc(gif.get(), image.Width, image.Height, 8, 0, colorMap.get()) == GIF_ERROR ||
      EGifPutImageDesc(gif.get(), 0, 0, image.Width, image.Height, false, nullptr) == GIF_ERROR) {
    Fail(gif->Error);
  }
  for (int y = 0; y < image.Height; ++y) {
    GifPixelType* row = indexed.Indices.data() + static_cast<std::size_t>(y) * image.Width;
    if (EGifPutLine(gif.get(), row, image.Width) == GIF_ERROR) Fail(gif->Error);
  }
  // Closing writes the trailer but does not report a failure to write it; the sink does.
  if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) Fail(error);
  if (sink.Failed) Fail(E_GIF_ERR_WRITE_FAILED);
  return std::move(sink.Bytes);
}

}  // namespace pictarix
