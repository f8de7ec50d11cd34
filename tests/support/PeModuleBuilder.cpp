#include "support/PeModuleBuilder.h"

#include <map>

#include "os/Stream.h"
#include "support/IconFileBuilder.h"
#include "support/LittleEndian.h"

namespace pictarix::testing {
namespace {

constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint32_t kPeOffset = 0x40;
constexpr std::uint16_t kOptionalHeaderSize = 224;  // PE32 with 16 data directories
constexpr std::uint32_t kSectionOffset = 0x200;
constexpr std::uint32_t kSectionRva = 0x1000;

std::uint32_t TableSize(std::size_t entries) {
  return 16 + 8 * static_cast<std::uint32_t>(entries);
}

void PutTableHeader(std::vector<std::uint8_t>& out, std::uint16_t named, std::uint16_t ids) {
  out.resize(out.size() + 12);
  PutU16(out, named);
  PutU16(out, ids);
}

void Align(std::vector<std::uint8_t>& out) {
  out.resize((out.size() + 3) / 4 * 4);
}

}  // namespace

void PeModuleBuilder::AddResource(std::uint16_t type, const ResourceName& name,
                                  std::vector<std::uint8_t> bytes) {
  resources_.push_back(Resource{type, name, std::move(bytes), false});
}

void PeModuleBuilder::AddUnreadable(std::uint16_t type, const ResourceName& name) {
  resources_.push_back(Resource{type, name, {}, true});
}

void PeModuleBuilder::AddGroupIcon(const ResourceName& name, const IconFileBuilder& icon) {
  AddResource(kResourceTypeGroupIcon, name, icon.BuildGroup());
  for (const auto& entry : icon.Entries()) {
    AddResource(kResourceTypeIcon, ResourceName::FromId(entry.ResourceId), entry.Data);
  }
}

PeModuleBuilder::Layout PeModuleBuilder::Plan() const {
  Layout layout;
  for (const Resource& r : resources_) layout.Types[r.Type].push_back(&r);
  // Tables first (root, types, languages), then data entries, names and data.
  std::uint32_t next = TableSize(layout.Types.size());
  for (const auto& [type, list] : layout.Types) {
    layout.TypeTable[type] = next;
    next += TableSize(list.size());
  }
  for (const Resource& r : resources_) {
    layout.LanguageTable[&r] = next;
    next += TableSize(r.Unreadable ? 0 : 1);
  }
  for (const Resource& r : resources_) {
    layout.DataEntry[&r] = next;
    next += 16;
  }
  for (const Resource& r : resources_) {
    if (r.Name.IsId) continue;
    layout.NameAt[&r] = next;
    next += 2 + 2 * static_cast<std::uint32_t>(r.Name.Name.size());
  }
  for (const Resource& r : resources_) {
    next = (next + 3) / 4 * 4;
    layout.DataAt[&r] = next;
    next += static_cast<std::uint32_t>(r.Bytes.size());
  }
  return layout;
}

std::vector<std::uint8_t> PeModuleBuilder::BuildSection(std::uint32_t rva) const {
  Layout layout = Plan();
  std::vector<std::uint8_t> out;
  PutTableHeader(out, 0, static_cast<std::uint16_t>(layout.Types.size()));
  for (const auto& [type, list] : layout.Types) {
    PutU32(out, type);
    PutU32(out, kHighBit | layout.TypeTable[type]);
  }
  for (const auto& [type, list] : layout.Types) {
    std::uint16_t named = 0;
    for (const Resource* r : list) named += r->Name.IsId ? 0 : 1;
    PutTableHeader(out, named, static_cast<std::uint16_t>(list.size() - named));
    for (const Resource* r : list) {
      PutU32(out, r->Name.IsId ? r->Name.Id : kHighBit | layout.NameAt[r]);
      PutU32(out, kHighBit | layout.LanguageTable[r]);
    }
  }
  for (const Resource& r : resources_) {
    PutTableHeader(out, 0, r.Unreadable ? 0 : 1);
    if (r.Unreadable) continue;
    PutU32(out, 0x409);
    PutU32(out, layout.DataEntry[&r]);
  }
  for (const Resource& r : resources_) {
    PutU32(out, rva + layout.DataAt[&r]);
    PutU32(out, static_cast<std::uint32_t>(r.Bytes.size()));
    PutU32(out, 0);
    PutU32(out, 0);
  }
  for (const Resource& r : resources_) {
    if (r.Name.IsId) continue;
    PutU16(out, static_cast<std::uint16_t>(r.Name.Name.size()));
    for (const char16_t c : r.Name.Name) PutU16(out, c);
  }
  for (const Resource& r : resources_) {
    Align(out);
    out.insert(out.end(), r.Bytes.begin(), r.Bytes.end());
  }
  out.resize(out.size() + 16);  // an empty resource at the end still lies inside the section
  Align(out);
  return out;
}

std::vector<std::uint8_t> PeModuleBuilder::Build() const {
  const std::vector<std::uint8_t> section = BuildSection(kSectionRva);
  const auto sectionSize = static_cast<std::uint32_t>(section.size());
  std::vector<std::uint8_t> out(kSectionOffset, 0);
  SetU16At(out, 0, 0x5A4D);  // "MZ"
  SetU32At(out, 0x3C, kPeOffset);
  SetU32At(out, kPeOffset, 0x00004550);  // "PE\0\0"
  const std::size_t fileHeader = kPeOffset + 4;
  SetU16At(out, fileHeader, 0x14C);
  SetU16At(out, fileHeader + 2, 1);  // one section
  SetU16At(out, fileHeader + 16, kOptionalHeaderSize);
  const std::size_t optional = fileHeader + 20;
  SetU16At(out, optional, 0x10B);
  SetU32At(out, optional + 92, 16);
  SetU32At(out, optional + 96 + 2 * 8, kSectionRva);
  SetU32At(out, optional + 96 + 2 * 8 + 4, sectionSize);
  const std::size_t sectionHeader = optional + kOptionalHeaderSize;
  const char name[] = ".rsrc";
  for (std::size_t i = 0; i < 5; ++i)
    out.at(sectionHeader + i) = static_cast<std::uint8_t>(name[i]);
  SetU32At(out, sectionHeader + 8, sectionSize);
  SetU32At(out, sectionHeader + 12, kSectionRva);
  SetU32At(out, sectionHeader + 16, sectionSize);
  SetU32At(out, sectionHeader + 20, kSectionOffset);
  out.insert(out.end(), section.begin(), section.end());
  return out;
}

std::unique_ptr<PeResources> PeModuleBuilder::Open() const {
  return PeResources::Open(std::make_unique<MemoryStream>(Build()));
}

}  // namespace pictarix::testing
