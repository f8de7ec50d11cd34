#include "support/NeBuilder.h"

#include <stdexcept>

#include "support/LittleEndian.h"

namespace pictarix::testing {

ByteWriter& ByteWriter::U8(std::uint8_t value) {
  bytes_.push_back(value);
  return *this;
}

ByteWriter& ByteWriter::U16(std::uint16_t value) {
  PutU16(bytes_, value);
  return *this;
}

ByteWriter& ByteWriter::U32(std::uint32_t value) {
  PutU32(bytes_, value);
  return *this;
}

ByteWriter& ByteWriter::Bytes(std::span<const std::uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

ByteWriter& ByteWriter::Text(std::string_view text) {
  for (const char c : text) U8(static_cast<std::uint8_t>(c));
  return *this;
}

ByteWriter& ByteWriter::Zeros(std::size_t count) {
  bytes_.insert(bytes_.end(), count, 0);
  return *this;
}

ByteWriter& ByteWriter::PadTo(std::size_t size) {
  if (bytes_.size() > size) throw std::logic_error("ByteWriter::PadTo: already past");
  return Zeros(size - bytes_.size());
}

void ByteWriter::U16At(std::size_t at, std::uint16_t value) {
  SetU16At(bytes_, at, value);
}

std::vector<std::uint8_t> DibImage(int side, int bitCount, std::uint8_t fill) {
  const int paletteSize = bitCount <= 8 ? 4 * (1 << bitCount) : 0;
  const int xorRow = ((side * bitCount + 31) / 32) * 4;
  const int andRow = ((side + 31) / 32) * 4;
  ByteWriter w;
  w.U32(40).U32(static_cast<std::uint32_t>(side)).U32(static_cast<std::uint32_t>(2 * side));
  w.U16(1).U16(static_cast<std::uint16_t>(bitCount)).Zeros(24);
  std::vector<std::uint8_t> bytes = std::move(w.Data());
  bytes.resize(static_cast<std::size_t>(40 + paletteSize + side * (xorRow + andRow)), fill);
  return bytes;
}

std::vector<std::uint8_t> GroupDirectory(const std::vector<NeGroupEntry>& entries,
                                         std::optional<std::uint16_t> count) {
  ByteWriter w;
  w.U16(0).U16(1).U16(count.value_or(static_cast<std::uint16_t>(entries.size())));
  for (const auto& e : entries) {
    w.U8(e.Width).U8(e.Height).U16(e.ColorCount).U16(e.Planes).U16(e.BitCount);
    w.U32(e.BytesInRes).U16(e.Id);
  }
  return std::move(w.Data());
}

NeGroupEntry EntryFor(const std::vector<std::uint8_t>& image, std::uint16_t id) {
  NeGroupEntry e;
  e.Width = image.size() > 4 ? image[4] : 0;
  e.Height = e.Width;
  e.BitCount = image.size() > 14 ? image[14] : 0;
  e.ColorCount = e.BitCount < 16 ? static_cast<std::uint16_t>(1u << e.BitCount) : 0;
  e.BytesInRes = static_cast<std::uint32_t>(image.size());
  e.Id = id;
  return e;
}

std::vector<std::uint8_t> NeFile::Build(NeLayout* layout) const {
  NeLayout positions;
  ByteWriter w;
  w.Text("MZ").PadTo(0x3C).U16(HeaderOffset).U16(0).PadTo(HeaderOffset);
  positions.HeaderPos = w.Size();
  w.Text("NE").PadTo(HeaderOffset + 64);
  positions.ResourceTablePos = w.Size();
  w.U16(AlignShift);
  for (const auto& type : Types) {
    w.U16(type.TypeId);
    w.U16(type.Count.value_or(static_cast<std::uint16_t>(type.Resources.size()))).U32(0);
    auto& entries = positions.EntryPos.emplace_back();
    for (const auto& resource : type.Resources) {
      entries.push_back(w.Size());
      w.U16(0).U16(0).U16(0x1C30).U16(resource.Id).U32(0);
    }
  }
  if (EndTypes) w.U16(0);
  positions.NamesPos = w.Size();
  for (const auto& name : Names) w.U8(static_cast<std::uint8_t>(name.size())).Text(name);
  if (EndNames) w.U8(0);
  positions.NamesEnd = w.Size();

  const std::size_t unit = std::size_t{1} << AlignShift;
  const auto align = [&w, unit] { w.PadTo((w.Size() + unit - 1) / unit * unit); };
  for (std::size_t t = 0; t < Types.size(); ++t) {
    auto& dataPos = positions.DataPos.emplace_back();
    for (std::size_t r = 0; r < Types[t].Resources.size(); ++r) {
      const NeResource& resource = Types[t].Resources[r];
      align();
      const std::size_t start = w.Size();
      dataPos.push_back(start);
      w.Bytes(resource.Data);
      align();
      const std::size_t entry = positions.EntryPos[t][r];
      w.U16At(entry,
              resource.OffsetUnits.value_or(static_cast<std::uint16_t>(start >> AlignShift)));
      w.U16At(entry + 2, resource.LengthUnits.value_or(
                             static_cast<std::uint16_t>((w.Size() - start) >> AlignShift)));
    }
  }
  const auto relative = [this](std::size_t pos) {
    return static_cast<std::uint16_t>(pos - HeaderOffset);
  };
  w.U16At(HeaderOffset + 0x24, ResourceTableField.value_or(relative(positions.ResourceTablePos)));
  w.U16At(HeaderOffset + 0x26, NamesField.value_or(relative(positions.NamesEnd)));
  if (layout != nullptr) *layout = positions;
  return std::move(w.Data());
}

NeFile IclFile(const std::vector<IclIcon>& icons, std::uint16_t alignShift) {
  NeFile file;
  file.AlignShift = alignShift;
  file.Names.push_back("ICL");
  NeTypeRecord groups{0x800E, {}, {}};
  NeTypeRecord images{0x8003, {}, {}};
  std::uint16_t imageId = 0;
  for (std::size_t i = 0; i < icons.size(); ++i) {
    std::vector<NeGroupEntry> entries;
    for (const auto& image : icons[i].Images) {
      entries.push_back(EntryFor(image, ++imageId));
      images.Resources.push_back(
          NeResource{static_cast<std::uint16_t>(0x8000 | imageId), image, {}, {}});
    }
    groups.Resources.push_back(
        NeResource{static_cast<std::uint16_t>(0x8001 + i), GroupDirectory(entries), {}, {}});
    file.Names.push_back(icons[i].Name);
  }
  file.Types = {groups, images};
  return file;
}

std::unique_ptr<AdvancedIcon> IconFromImages(const std::vector<std::vector<std::uint8_t>>& images) {
  auto icon = std::make_unique<AdvancedIcon>();
  for (const auto& bytes : images) {
    auto image = std::make_unique<IconImage>();
    image->Planes = 1;
    image->BytesInRes = static_cast<std::uint32_t>(bytes.size());
    image->SetData(bytes);
    image->UpdateFromHeader();
    icon->Images.Add(std::move(image));
  }
  return icon;
}

}  // namespace pictarix::testing
