#include "output/XcursorFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "imaging/RgbaPicture.h"
#include "model/Animation.h"
#include "os/Errors.h"
#include "os/SafeFile.h"
#include "output/XcursorLibrary.h"

namespace pictarix {

namespace {

constexpr int kPngBitCount = 32;

// x / 255 rounded to the nearest, for x up to 255 * 255.
std::uint32_t DivideBy255(std::uint32_t x) {
  return (x + 127) / 255;
}

std::vector<std::uint32_t> PremultipliedArgb(const RgbaPicture& picture) {
  std::vector<std::uint32_t> argb(picture.Rgba.size() / 4);
  for (std::size_t i = 0; i < argb.size(); ++i) {
    const std::uint8_t* pixel = &picture.Rgba[i * 4];
    const std::uint32_t alpha = pixel[3];
    argb[i] = alpha << 24 | DivideBy255(pixel[0] * alpha) << 16 |
              DivideBy255(pixel[1] * alpha) << 8 | DivideBy255(pixel[2] * alpha);
  }
  return argb;
}

// A picture of one frame at one nominal size, without its delay.
using FramePictures = std::map<std::uint32_t, XcursorPicture>;

int ColourBits(const IconImage& image) {
  return IsPngImage(image) ? kPngBitCount : image.BitCount;
}

std::optional<XcursorPicture> PictureOf(const IconImage& image) {
  const std::optional<RgbaPicture> rgba = ImageToRgba(image);
  if (!rgba || rgba->Width <= 0 || rgba->Height <= 0) return std::nullopt;
  XcursorPicture picture;
  picture.Width = static_cast<std::uint32_t>(rgba->Width);
  picture.Height = static_cast<std::uint32_t>(rgba->Height);
  picture.NominalSize = std::max(picture.Width, picture.Height);
  const CursorHotspot hotspot = image.Hotspot.value_or(CursorHotspot{});
  picture.XHot = std::min<std::uint32_t>(hotspot.X, picture.Width - 1);
  picture.YHot = std::min<std::uint32_t>(hotspot.Y, picture.Height - 1);
  picture.Argb = std::make_shared<const std::vector<std::uint32_t>>(PremultipliedArgb(*rgba));
  return picture;
}

// What a file being made holds so far: checked as it grows, so that neither a cursor of many
// large images nor an animation of many steps is ever held whole beyond the limits.
struct PictureTally {
  std::uint64_t Images = 0;
  std::uint64_t Pixels = 0;

  void Add(const XcursorPicture& picture) {
    ++Images;
    Pixels += picture.Argb->size();
    if (Images > kMaxXcursorImages || Pixels > kMaxXcursorPixels) {
      throw FormatError("The cursor's images are more than an Xcursor file holds (over " +
                        std::to_string(Images) + " images or " + std::to_string(Pixels) +
                        " pixels).");
    }
  }
};

// Per nominal size, the image with the most colours that decodes (the later one on a tie).
FramePictures PicturesOfFrame(const IconImageList& images, PictureTally& decoded) {
  FramePictures pictures;
  for (int index : XcursorImagePreference(images)) {
    const ImageSize size = RealImageSize(*images.Get(index));
    const auto nominal = static_cast<std::uint32_t>(std::max(size.Width, size.Height));
    if (pictures.contains(nominal)) continue;
    // The size the data states may differ from the decoded one; the decoded one counts.
    std::optional<XcursorPicture> picture = PictureOf(*images.Get(index));
    if (picture && !pictures.contains(picture->NominalSize)) {
      decoded.Add(*picture);
      pictures.emplace(picture->NominalSize, std::move(*picture));
    }
  }
  return pictures;
}

// The pictures of each step, a nominal size at a time. A frame is decoded when a step first
// shows it, and the file's tally grows step by step: a step count is bounded by the file's size,
// not by what is sensible.
std::vector<XcursorPicture> AnimatedPictures(const Animation& animation) {
  std::vector<std::optional<FramePictures>> frames(animation.Frames.size());
  PictureTally decoded;
  PictureTally written;
  std::set<std::uint32_t> sizes;
  for (const AnimationStep& step : animation.Steps) {
    std::optional<FramePictures>& frame = frames[step.Frame];
    if (!frame) frame = PicturesOfFrame(animation.Frames[step.Frame]->Images, decoded);
    for (const auto& [size, picture] : *frame) {
      sizes.insert(size);
      written.Add(picture);
    }
  }
  std::vector<XcursorPicture> pictures;
  for (const std::uint32_t size : sizes) {
    for (const AnimationStep& step : animation.Steps) {
      const auto found = frames[step.Frame]->find(size);
      if (found == frames[step.Frame]->end()) continue;
      pictures.push_back(found->second);
      pictures.back().DelayMs = DelayMilliseconds(step.Jiffies);
    }
  }
  return pictures;
}

}  // namespace

std::vector<int> XcursorImagePreference(const IconImageList& images) {
  std::vector<int> order(images.Count());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&images](int a, int b) {
    const int bitsA = ColourBits(*images.Get(a));
    const int bitsB = ColourBits(*images.Get(b));
    return bitsA != bitsB ? bitsA > bitsB : a > b;
  });
  return order;
}

std::uint32_t DelayMilliseconds(std::uint32_t jiffies) {
  // Held to what the file's 32-bit delay holds (a rate from a file may be absurd).
  const std::uint64_t ms = (std::uint64_t{jiffies} * 1000 + 30) / 60;
  return static_cast<std::uint32_t>(
      std::min<std::uint64_t>(ms, std::numeric_limits<std::uint32_t>::max()));
}

std::vector<XcursorPicture> XcursorPicturesOf(const AdvancedIcon& icon) {
  std::vector<XcursorPicture> pictures;
  if (icon.Kind == EntryKind::Animated && icon.Frames && !icon.Frames->Steps.empty()) {
    pictures = AnimatedPictures(*icon.Frames);
  } else {
    PictureTally decoded;
    for (auto& entry : PicturesOfFrame(icon.Images, decoded)) {
      pictures.push_back(std::move(entry.second));
    }
  }
  if (pictures.empty()) throw FormatError("None of the cursor's images can be decoded.");
  return pictures;
}

std::vector<std::uint8_t> XcursorFileBytes(std::span<const XcursorPicture> pictures) {
  const XcursorApi& api = LoadXcursorLibrary();
  const auto destroy = [&api](XcursorImages* images) { api.ImagesDestroy(images); };
  const std::unique_ptr<XcursorImages, decltype(destroy)> images(
      api.ImagesCreate(static_cast<int>(pictures.size())), destroy);
  if (!images) throw PictarixError("libXcursor cannot hold the cursor's images.");
  for (const XcursorPicture& picture : pictures) {
    XcursorImage* image =
        api.ImageCreate(static_cast<int>(picture.Width), static_cast<int>(picture.Height));
    if (image == nullptr) throw PictarixError("libXcursor refuses an image of the cursor.");
    images->images[images->nimage++] = image;
    image->size = picture.NominalSize;
    image->xhot = picture.XHot;
    image->yhot = picture.YHot;
    image->delay = picture.DelayMs;
    std::copy(picture.Argb->begin(), picture.Argb->end(), image->pixels);
  }
  // libXcursor writes to a stream (and moves about in it); a stream in memory keeps the file's
  // writing to the safe replace.
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* stream = open_memstream(&buffer, &size);
  if (stream == nullptr) throw PictarixError("No memory for the Xcursor file.");
  const bool saved = api.FileSaveImages(stream, images.get()) != 0;
  const bool closed = std::fclose(stream) == 0;
  std::vector<std::uint8_t> bytes;
  if (saved && closed) bytes.assign(buffer, buffer + size);
  std::free(buffer);
  if (!saved || !closed) throw PictarixError("libXcursor could not write the cursor's images.");
  return bytes;
}

void SaveXcursorFile(const AdvancedIcon& icon, const std::filesystem::path& target) {
  const std::vector<XcursorPicture> pictures = XcursorPicturesOf(icon);
  ReplaceFileContents(target, XcursorFileBytes(pictures));
}

}  // namespace pictarix
