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

}  // namespace

bool PeToolchain::Available() const {
  std::error_code error;
  return !Windres.empty() && !Ld.empty() && std::filesystem::is_regular_file(Windres, error) &&
         std::filesystem::is_regular_file(Ld, error);
}

// The paths arrive as compile definitions of this library (cmake/MingwTools.cmake).
PeToolchain Pe32PlusToolchain() {
  return {PICTARIX_WINDRES64, PICTARIX_LD64};
}

PeToolchain Pe32Toolchain() {
  return {PICTARIX_WINDRES32, PICTARIX_LD32};
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

}  // namespace pictarix::testing
