#pragma once
// One image of an icon: its stored bytes (bitmap or PNG) exactly as read, the directory fields
// derived from them, and a decoded handle made on first request.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/IconPicture.h"
#include "model/IconRecords.h"

namespace pictarix {

// The pixel a cursor points with, from the image's top-left corner.
struct CursorHotspot {
  std::uint16_t X = 0;
  std::uint16_t Y = 0;
  bool operator==(const CursorHotspot&) const = default;
};

// The bytes of an image. Never changed once made, so copies may share them.
using ImageData = std::shared_ptr<const std::vector<std::uint8_t>>;

class IconImage {
 public:
  // Create: no handle and no data; the caller sets the fields.
  IconImage() = default;
  virtual ~IconImage() = default;
  IconImage(const IconImage&) = delete;
  IconImage& operator=(const IconImage&) = delete;

  // A new image equal to `source` (class IconImage). Shares the source's handle when it has
  // one and otherwise stays lazy; never decodes.
  static std::unique_ptr<IconImage> CreateCopy(const IconImage& source);

  // Re-derives Width, Height, BitCount and ColorCount from the start of Data; never reads past
  // the bytes held (missing bytes count as 0).
  void UpdateFromHeader();

  // The 12 bytes Width..BytesInRes as a directory entry stores them, and back.
  std::array<std::uint8_t, 12> EntryFields() const;
  void SetEntryFields(const std::array<std::uint8_t, 12>& fields);

  // Data as held (may differ in size from BytesInRes for resource images); empty when none.
  const std::vector<std::uint8_t>& Bytes() const;
  bool HasData() const { return Data != nullptr; }
  // Takes a block over as Data.
  void SetData(std::vector<std::uint8_t> bytes);

  IconHandle Handle;  // the decoded picture, nullptr until DecodedPicture made one
  std::uint8_t Width = 0;
  std::uint8_t Height = 0;
  std::uint16_t ColorCount = 0;
  std::uint16_t Planes = 0;
  std::uint16_t BitCount = 0;
  std::uint32_t BytesInRes = 0;
  ImageData Data;
  // A cursor's image has one; an icon's none.
  std::optional<CursorHotspot> Hotspot;
};

}  // namespace pictarix
