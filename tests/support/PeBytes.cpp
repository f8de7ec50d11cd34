#include "support/PeBytes.h"

#include <stdexcept>
#include <string>

#include "os/Stream.h"
#include "support/FileBytes.h"
#include "support/LittleEndian.h"

namespace pictarix::testing {

PeBytes::PeBytes(const std::filesystem::path& path) {
  bytes_ = ReadWholeFile(path);
  peOffset_ = U32(0x3C);
  const std::uint64_t fileHeader = peOffset_ + 4;
  const std::uint16_t sections = static_cast<std::uint16_t>(U32(fileHeader + 2) & 0xFFFF);
  const std::uint16_t optionalSize = static_cast<std::uint16_t>(U32(fileHeader + 16) & 0xFFFF);
  const std::uint64_t table = fileHeader + 20 + optionalSize;
  for (std::uint64_t i = 0; i < sections; ++i) {
    const std::uint64_t header = table + i * 40;
    const std::string name(bytes_.begin() + static_cast<std::ptrdiff_t>(header),
                           bytes_.begin() + static_cast<std::ptrdiff_t>(header + 5));
    if (name != ".rsrc") continue;
    rsrcRva_ = U32(header + 12);
    rsrcRawSize_ = U32(header + 16);
    rsrcOffset_ = U32(header + 20);
  }
  if (rsrcOffset_ == 0) throw std::runtime_error("no .rsrc section in " + path.string());
}

void PeBytes::Save(const std::filesystem::path& path) const {
  WriteBytes(path, bytes_);
}

std::uint32_t PeBytes::U32(std::uint64_t offset) const {
  return U32At(bytes_, static_cast<std::size_t>(offset));
}

void PeBytes::SetU16(std::uint64_t offset, std::uint16_t value) {
  SetU16At(bytes_, static_cast<std::size_t>(offset), value);
}

void PeBytes::SetU32(std::uint64_t offset, std::uint32_t value) {
  SetU32At(bytes_, static_cast<std::size_t>(offset), value);
}

std::uint64_t PeBytes::ResourceDataDirectory() const {
  const std::uint64_t optional = peOffset_ + 24;
  const bool pe32Plus = (U32(optional) & 0xFFFF) == 0x20B;
  return optional + (pe32Plus ? 112 : 96) + 2 * 8;
}

std::uint64_t PeBytes::EntryAt(std::uint64_t table, std::size_t index) const {
  return table + 16 + index * 8;
}

std::uint64_t PeBytes::EntryWithId(std::uint64_t table, std::uint16_t id) const {
  const std::uint32_t counts = U32(table + 12);
  const std::size_t total = (counts & 0xFFFF) + (counts >> 16);
  for (std::size_t i = 0; i < total; ++i) {
    const std::uint32_t name = U32(EntryAt(table, i));
    if ((name & 0x80000000u) == 0 && name == id) return EntryAt(table, i);
  }
  throw std::runtime_error("no entry with id " + std::to_string(id));
}

std::uint64_t PeBytes::Target(std::uint64_t entry) const {
  return rsrcOffset_ + (U32(entry + 4) & 0x7FFFFFFFu);
}

void PeBytes::PointAtTable(std::uint64_t entry, std::uint64_t table) {
  SetU32(entry + 4, 0x80000000u | static_cast<std::uint32_t>(table - rsrcOffset_));
}

}  // namespace pictarix::testing
