#include "formats/cur/CursorRecords.h"

#include "model/IconRecords.h"
#include "os/ByteCursor.h"

namespace pictarix {

std::optional<std::uint16_t> CursorHeaderCount(std::span<const std::uint8_t> bytes) {
  ByteCursor cursor(bytes);
  const auto raw = cursor.TakeRecord<kIconHeaderSize>();
  if (!raw) return std::nullopt;
  const IconHeader header = IconHeader::Parse(*raw);
  if (header.Reserved != 0 || header.Type != kCursorHeaderType) return std::nullopt;
  return header.Count;
}

std::unique_ptr<IconImage> CursorImageFromResource(std::span<const std::uint8_t> resource) {
  ByteCursor cursor(resource);
  const auto hotspot = cursor.TakeZeroFilled<kCursorResourceHotspotSize>();
  auto image = std::make_unique<IconImage>();
  image->Hotspot = CursorHotspot{static_cast<std::uint16_t>(hotspot[0] | hotspot[1] << 8),
                                 static_cast<std::uint16_t>(hotspot[2] | hotspot[3] << 8)};
  const auto rest = cursor.Bytes().subspan(cursor.Position());
  image->SetData(std::vector<std::uint8_t>(rest.begin(), rest.end()));
  image->Planes = 1;
  image->BytesInRes = static_cast<std::uint32_t>(rest.size());
  image->UpdateFromHeader();
  return image;
}

}  // namespace pictarix
