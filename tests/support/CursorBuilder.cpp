#include "support/CursorBuilder.h"

#include "support/IconFileBuilder.h"

namespace pictarix::testing {
namespace {

void Append(ByteVector& out, const ByteVector& bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

void AppendWord(ByteVector& out, std::uint32_t word) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<std::uint8_t>(word >> shift));
}

void AppendText(ByteVector& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

ByteVector CursorFile(const std::vector<CursorImage>& images) {
  IconFileBuilder file;
  file.Type(2);
  for (const CursorImage& image : images) {
    auto& entry = file.AddImage(image.Image);
    entry.Planes = image.HotspotX;
    entry.BitCount = image.HotspotY;
  }
  return file.Build();
}

ByteVector CursorResource(const CursorImage& image) {
  ByteVector out{
      static_cast<std::uint8_t>(image.HotspotX), static_cast<std::uint8_t>(image.HotspotX >> 8),
      static_cast<std::uint8_t>(image.HotspotY), static_cast<std::uint8_t>(image.HotspotY >> 8)};
  Append(out, image.Image);
  return out;
}

ByteVector GroupCursor(const std::vector<std::uint16_t>& ids) {
  ByteVector out{0,
                 0,
                 2,
                 0,
                 static_cast<std::uint8_t>(ids.size()),
                 static_cast<std::uint8_t>(ids.size() >> 8)};
  for (const std::uint16_t id : ids) {
    out.insert(out.end(), {32, 0, 64, 0, 1, 0, 1, 0, 0, 0, 0, 0});
    out.push_back(static_cast<std::uint8_t>(id));
    out.push_back(static_cast<std::uint8_t>(id >> 8));
  }
  return out;
}

ByteVector Words(const std::vector<std::uint32_t>& words) {
  ByteVector out;
  for (const std::uint32_t word : words) AppendWord(out, word);
  return out;
}

ByteVector Chunk(const std::string& id, const ByteVector& data, std::optional<std::uint32_t> size) {
  ByteVector out;
  AppendText(out, id);
  AppendWord(out, size.value_or(static_cast<std::uint32_t>(data.size())));
  Append(out, data);
  if (data.size() % 2 == 1) out.push_back(0);
  return out;
}

ByteVector List(const std::string& type, const std::vector<ByteVector>& chunks) {
  ByteVector data;
  AppendText(data, type);
  for (const ByteVector& chunk : chunks) Append(data, chunk);
  return Chunk("LIST", data);
}

ByteVector AniHeader(std::uint32_t frames, std::uint32_t steps, std::uint32_t rate,
                     std::uint32_t flags) {
  return Chunk("anih", Words({36, frames, steps, 0, 0, 0, 0, rate, flags}));
}

ByteVector RiffFile(const std::vector<ByteVector>& chunks, const std::string& type) {
  ByteVector data;
  AppendText(data, type);
  for (const ByteVector& chunk : chunks) Append(data, chunk);
  ByteVector out;
  AppendText(out, "RIFF");
  AppendWord(out, static_cast<std::uint32_t>(data.size()));
  Append(out, data);
  return out;
}

}  // namespace pictarix::testing
