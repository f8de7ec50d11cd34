#include "model/IconImage.h"

#include <algorithm>
#include <span>
#include <string>

#include "os/LittleEndian.h"

namespace pictarix {
namespace {

// The fields UpdateFromHeader reads lie in the first 16 bytes of a bitmap information header.
constexpr std::size_t kHeaderFieldsSize = 16;

}  // namespace

std::unique_ptr<IconImage> IconImage::CreateCopy(const IconImage& source) {
  auto copy = std::make_unique<IconImage>();
  copy->SetEntryFields(source.EntryFields());
  if (source.Data) {
    const auto& held = *source.Data;
    if (held.size() > source.BytesInRes) {
      // Only the BytesInRes bytes that matter are kept.
      copy->SetData(std::vector<std::uint8_t>(held.begin(), held.begin() + source.BytesInRes));
    } else {
      // The buffer is immutable, so the copy shares it. A resource image may hold fewer bytes
      // than its group entry states; the copy keeps the held bytes rather than allocating an
      // untrusted size (WriteData zero-fills on output).
      copy->Data = source.Data;
    }
  }
  // Handles are shared immutable pictures: share one that exists, never decode here.
  copy->Handle = source.Handle;
  copy->Hotspot = source.Hotspot;
  copy->UpdateFromHeader();
  return copy;
}

void IconImage::UpdateFromHeader() {
  // The fields of a bitmap information header; PNG data is read the same way (giving 0, 0, 21060).
  // Bytes not held count as 0.
  std::array<std::uint8_t, kHeaderFieldsSize> head{};
  const auto& bytes = Bytes();
  std::copy_n(bytes.begin(), std::min(bytes.size(), head.size()), head.begin());
  const std::span<const std::uint8_t, kHeaderFieldsSize> fields(head);
  const auto width = static_cast<std::int32_t>(LoadLe32(fields.subspan<4, 4>()));
  const auto halfHeight = static_cast<std::int32_t>(LoadLe32(fields.subspan<8, 4>()) >> 1);
  const std::int32_t side = width < halfHeight ? width : halfHeight;
  Width = static_cast<std::uint8_t>(side & 0xFF);  // 256 becomes 0
  Height = Width;
  BitCount = LoadLe16(fields.subspan<14, 2>());
  // 2 to the power BitCount kept to 16 bits: 0 from 16 bits on.
  ColorCount = BitCount < 16 ? static_cast<std::uint16_t>(1u << BitCount) : 0;
}

std::array<std::uint8_t, 12> IconImage::EntryFields() const {
  std::array<std::uint8_t, 12> fields{Width, Height};
  const auto put = [&fields](std::size_t at, const auto& bytes) {
    std::copy(bytes.begin(), bytes.end(), fields.begin() + static_cast<std::ptrdiff_t>(at));
  };
  put(2, Le16Bytes(ColorCount));
  put(4, Le16Bytes(Planes));
  put(6, Le16Bytes(BitCount));
  put(8, Le32Bytes(BytesInRes));
  return fields;
}

void IconImage::SetEntryFields(const std::array<std::uint8_t, 12>& fields) {
  Width = fields[0];
  Height = fields[1];
  const std::span<const std::uint8_t, 12> view(fields);
  ColorCount = LoadLe16(view.subspan<2, 2>());
  Planes = LoadLe16(view.subspan<4, 2>());
  BitCount = LoadLe16(view.subspan<6, 2>());
  BytesInRes = LoadLe32(view.subspan<8, 4>());
}

const std::vector<std::uint8_t>& IconImage::Bytes() const {
  static const std::vector<std::uint8_t> kNone;
  return Data ? *Data : kNone;
}

void IconImage::SetData(std::vector<std::uint8_t> bytes) {
  Data = std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes));
}

}  // namespace pictarix
