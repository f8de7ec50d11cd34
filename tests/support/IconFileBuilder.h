#pragma once
// Builds icon files and group-icon resources byte by byte from image blobs, with control over
// every directory field, the data offsets and order, the count, and the header's reserved and
// type fields. Free of gtest, so the fuzz seed writer can use it too.
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace pictarix::testing {

// A blob that starts with a 40-byte bitmap information header (height doubled for the mask),
// followed by a zero colour table, zero colour bits and a zero mask of the sizes a real icon
// image of that form has. Pixel content is of no concern here.
std::vector<std::uint8_t> BlankDibImage(std::int32_t width, std::int32_t height,
                                        std::uint16_t bitCount);

// The PNG signature and a valid IHDR chunk of the given size (RGBA, 8 bits) and an IEND chunk:
// what the icon model sees of a PNG-compressed image.
std::vector<std::uint8_t> PngImageStub(std::uint32_t width, std::uint32_t height);

// An icon file of one 32x32 image of 32 bits per pixel with an all-clear AND mask; `pixels` are
// its 1024 colours as stored (0xAARRGGBB, bottom row first).
std::vector<std::uint8_t> TrueColourIconFile(const std::vector<std::uint32_t>& pixels);

class IconFileBuilder {
 public:
  // One image: its data and the directory fields written for it.
  struct Entry {
    std::vector<std::uint8_t> Data;
    std::uint8_t Width = 0;
    std::uint8_t Height = 0;
    std::uint16_t ColorCount = 0;
    std::uint16_t Planes = 1;
    std::uint16_t BitCount = 0;
    std::uint32_t BytesInRes = 0;
    std::optional<std::uint32_t> Offset;  // icon file: stored instead of the real data offset
    std::uint16_t ResourceId = 0;         // group resource: id of the icon resource
  };

  // Adds an image; the fields are taken from a bitmap header at the start of `data` when there
  // is one (as a well-made file stores them), BytesInRes = data size, ResourceId = 1, 2, ...
  Entry& AddImage(std::vector<std::uint8_t> data);

  IconFileBuilder& Reserved(std::uint16_t value);
  IconFileBuilder& Type(std::uint16_t value);
  // Stored in the header instead of the number of entries (entries beyond it are still written).
  IconFileBuilder& Count(std::uint16_t value);
  // Order in which the data blocks are laid out after the directory (indexes into the entries).
  IconFileBuilder& DataOrder(std::vector<std::size_t> order);

  // An icon file: header, 16-byte entries, then the data blocks.
  std::vector<std::uint8_t> Build() const;
  // A group-icon resource: header and 14-byte entries; the data goes into icon resources.
  std::vector<std::uint8_t> BuildGroup() const;

  const std::deque<Entry>& Entries() const { return entries_; }

 private:
  std::deque<Entry> entries_;
  std::uint16_t reserved_ = 0;
  std::uint16_t type_ = 1;
  std::optional<std::uint16_t> count_;
  std::vector<std::size_t> order_;
};

}  // namespace pictarix::testing
