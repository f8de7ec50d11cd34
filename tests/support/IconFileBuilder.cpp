#include "support/IconFileBuilder.h"

#include <array>
#include <numeric>

#include "support/LittleEndian.h"

namespace pictarix::testing {
namespace {

void PutU32Be(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutPngChunk(std::vector<std::uint8_t>& out, const char* type,
                 const std::vector<std::uint8_t>& body) {
  PutU32Be(out, static_cast<std::uint32_t>(body.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  PutU32Be(out, Crc32(out.data() + start, out.size() - start));
}

void PutFields(std::vector<std::uint8_t>& out, const IconFileBuilder::Entry& e) {
  out.push_back(e.Width);
  out.push_back(e.Height);
  PutU16(out, e.ColorCount);
  PutU16(out, e.Planes);
  PutU16(out, e.BitCount);
  PutU32(out, e.BytesInRes);
}

}  // namespace

std::vector<std::uint8_t> BlankDibImage(std::int32_t width, std::int32_t height,
                                        std::uint16_t bitCount) {
  std::vector<std::uint8_t> out;
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, static_cast<std::uint32_t>(height) * 2);
  PutU16(out, 1);
  PutU16(out, bitCount);
  for (int i = 0; i < 6; ++i) PutU32(out, 0);  // compression, size, resolution, colours used
  const std::size_t w = width > 0 ? static_cast<std::size_t>(width) : 0;
  const std::size_t h = height > 0 ? static_cast<std::size_t>(height) : 0;
  const std::size_t palette = bitCount <= 8 ? (std::size_t{4} << bitCount) : 0;
  const std::size_t colourRow = (w * bitCount + 31) / 32 * 4;
  const std::size_t maskRow = (w + 31) / 32 * 4;
  out.resize(out.size() + palette + (colourRow + maskRow) * h, 0);
  return out;
}

std::vector<std::uint8_t> PngImageStub(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<std::uint8_t> ihdr;
  PutU32Be(ihdr, width);
  PutU32Be(ihdr, height);
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
  PutPngChunk(out, "IHDR", ihdr);
  PutPngChunk(out, "IEND", {});
  return out;
}

std::vector<std::uint8_t> TrueColourIconFile(const std::vector<std::uint32_t>& pixels) {
  std::vector<std::uint8_t> image = BlankDibImage(32, 32, 32);
  SetU32At(image, 20, 32 * 32 * 4);  // the size of the colour bits, as icon editors store it
  for (std::size_t i = 0; i < pixels.size(); ++i) SetU32At(image, 40 + 4 * i, pixels[i]);
  IconFileBuilder file;
  file.AddImage(std::move(image));
  return file.Build();
}

IconFileBuilder::Entry& IconFileBuilder::AddImage(std::vector<std::uint8_t> data) {
  Entry entry;
  if (data.size() >= 16 && U32At(data, 0) == 40) {
    entry.Width = static_cast<std::uint8_t>(U32At(data, 4));
    entry.Height = static_cast<std::uint8_t>(U32At(data, 8) / 2);
    entry.BitCount = U16At(data, 14);
    entry.ColorCount = entry.BitCount < 8 ? static_cast<std::uint16_t>(1u << entry.BitCount) : 0;
  }
  entry.BytesInRes = static_cast<std::uint32_t>(data.size());
  entry.ResourceId = static_cast<std::uint16_t>(entries_.size() + 1);
  entry.Data = std::move(data);
  return entries_.emplace_back(std::move(entry));
}

IconFileBuilder& IconFileBuilder::Reserved(std::uint16_t value) {
  reserved_ = value;
  return *this;
}

IconFileBuilder& IconFileBuilder::Type(std::uint16_t value) {
  type_ = value;
  return *this;
}

IconFileBuilder& IconFileBuilder::Count(std::uint16_t value) {
  count_ = value;
  return *this;
}

IconFileBuilder& IconFileBuilder::DataOrder(std::vector<std::size_t> order) {
  order_ = std::move(order);
  return *this;
}

std::vector<std::uint8_t> IconFileBuilder::Build() const {
  std::vector<std::size_t> order = order_;
  if (order.empty()) {
    order.resize(entries_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
  }
  std::vector<std::uint32_t> offsets(entries_.size(), 0);
  std::uint32_t next = static_cast<std::uint32_t>(6 + 16 * entries_.size());
  for (std::size_t index : order) {
    offsets[index] = next;
    next += static_cast<std::uint32_t>(entries_[index].Data.size());
  }
  std::vector<std::uint8_t> out;
  PutU16(out, reserved_);
  PutU16(out, type_);
  PutU16(out, count_.value_or(static_cast<std::uint16_t>(entries_.size())));
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    PutFields(out, entries_[i]);
    PutU32(out, entries_[i].Offset.value_or(offsets[i]));
  }
  for (std::size_t index : order) {
    out.insert(out.end(), entries_[index].Data.begin(), entries_[index].Data.end());
  }
  return out;
}

std::vector<std::uint8_t> IconFileBuilder::BuildGroup() const {
  std::vector<std::uint8_t> out;
  PutU16(out, reserved_);
  PutU16(out, type_);
  PutU16(out, count_.value_or(static_cast<std::uint16_t>(entries_.size())));
  for (const Entry& entry : entries_) {
    PutFields(out, entry);
    PutU16(out, entry.ResourceId);
  }
  return out;
}

}  // namespace pictarix::testing
