#include "support/PeFixture.h"

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

}  // namespace pictarix::testing
