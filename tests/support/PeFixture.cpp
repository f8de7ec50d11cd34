#include "support/PeFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace pictarix::testing {

namespace {

std::string Quoted(const std::filesystem::path& path) {
  std::string quoted = "'";
  for (const char c : path.string()) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutU16(out, static_cast<std::uint16_t>(value));
  PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

bool PeToolchain::Available() const {
  std::error_code error;
  return !Windres.empty() && !Ld.empty() && std::filesystem::is_regular_file(Windres, error) &&
         std::filesystem::is_regular_file(Ld, error);
}

std::optional<std::filesystem::path> BuildModule(const PeToolchain& tools,
                                                 const std::filesystem::path& folder,
                                                 const std::string& name, const std::string& script,
                                                 std::string* log) {
  {
    std::ofstream rc(folder / (name + ".rc"));
    rc << script;
  }
  const auto object = folder / (name + ".o");
  const auto module = folder / (name + ".dll");
  const auto logFile = folder / (name + ".log");
  // Without the MinGW compiler windres needs the host's preprocessor to read the script.
  const std::string command = "cd " + Quoted(folder) + " && " + Quoted(tools.Windres) +
                              " --preprocessor=cpp -J rc -O coff -i " + Quoted(name + ".rc") +
                              " -o " + Quoted(object) + " >" + Quoted(logFile) + " 2>&1 && " +
                              Quoted(tools.Ld) + " -shared -e 0 -o " + Quoted(module) + " " +
                              Quoted(object) + " >>" + Quoted(logFile) + " 2>&1";
  const int status = std::system(command.c_str());
  if (log != nullptr) *log = ReadText(logFile);
  if (status != 0 || !std::filesystem::exists(module)) return std::nullopt;
  return module;
}

std::vector<std::uint8_t> SmallIconImage(std::uint8_t width, std::uint8_t fill) {
  std::vector<std::uint8_t> image;
  PutU32(image, 40);                             // header size
  PutU32(image, width);                          // width
  PutU32(image, 2u * width);                     // height of colour bits and mask together
  PutU16(image, 1);                              // planes
  PutU16(image, 32);                             // bit count
  PutU32(image, 0);                              // no compression
  PutU32(image, 0);                              // image size (may be 0 for uncompressed bitmaps)
  for (int i = 0; i < 4; ++i) PutU32(image, 0);  // resolution and colour counts
  image.insert(image.end(), std::size_t{width} * width * 4, fill);
  const std::size_t maskRow = ((std::size_t{width} + 31) / 32) * 4;
  image.insert(image.end(), maskRow * width, 0);
  return image;
}

std::vector<std::uint8_t> SingleImageIconFile(std::uint8_t width,
                                              const std::vector<std::uint8_t>& image) {
  std::vector<std::uint8_t> file;
  PutU16(file, 0);  // reserved
  PutU16(file, 1);  // icon
  PutU16(file, 1);  // one image
  file.push_back(width);
  file.push_back(width);
  file.push_back(0);  // colour count
  file.push_back(0);  // reserved
  PutU16(file, 1);    // planes
  PutU16(file, 32);   // bit count
  PutU32(file, static_cast<std::uint32_t>(image.size()));
  PutU32(file, 22);  // data follows the header and the one entry
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

PeBytes::PeBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  bytes_.assign(std::istreambuf_iterator<char>(in), {});
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
  EXPECT_NE(rsrcOffset_, 0u) << "no .rsrc section in " << path;
}

void PeBytes::Save(const std::filesystem::path& path) const {
  WriteBytes(path, bytes_);
}

std::uint32_t PeBytes::U32(std::uint64_t offset) const {
  const auto i = static_cast<std::size_t>(offset);
  return std::uint32_t{bytes_.at(i)} | (std::uint32_t{bytes_.at(i + 1)} << 8) |
         (std::uint32_t{bytes_.at(i + 2)} << 16) | (std::uint32_t{bytes_.at(i + 3)} << 24);
}

void PeBytes::SetU16(std::uint64_t offset, std::uint16_t value) {
  const auto i = static_cast<std::size_t>(offset);
  bytes_.at(i) = static_cast<std::uint8_t>(value);
  bytes_.at(i + 1) = static_cast<std::uint8_t>(value >> 8);
}

void PeBytes::SetU32(std::uint64_t offset, std::uint32_t value) {
  SetU16(offset, static_cast<std::uint16_t>(value));
  SetU16(offset + 2, static_cast<std::uint16_t>(value >> 16));
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
  ADD_FAILURE() << "no entry with id " << id;
  return 0;
}

std::uint64_t PeBytes::Target(std::uint64_t entry) const {
  return rsrcOffset_ + (U32(entry + 4) & 0x7FFFFFFFu);
}

void PeBytes::PointAtTable(std::uint64_t entry, std::uint64_t table) {
  SetU32(entry + 4, 0x80000000u | static_cast<std::uint32_t>(table - rsrcOffset_));
}

}  // namespace pictarix::testing
