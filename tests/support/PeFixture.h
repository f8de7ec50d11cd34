#pragma once
// Real PE modules for tests and fuzz seeds, made at run time by the MinGW binutils from a
// resource script (windres compiles it, ld links a resource-only DLL). Without the tools the
// tests that need them skip. Free of gtest, so the fuzz seed writer can use it too.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/FileBytes.h"

namespace pictarix::testing {

struct PeToolchain {
  std::filesystem::path Windres;
  std::filesystem::path Ld;
  bool Available() const;
};

// The tools the build found (for 64-bit PE32+ and 32-bit PE32 modules).
PeToolchain Pe32PlusToolchain();
PeToolchain Pe32Toolchain();

// Writes `script` as `<name>.rc` into `folder` (beside the files it names, which the test
// writes first), compiles and links it to `<name>.dll`. Nothing when a tool fails; `log` then
// holds what the tools said. windres stores string names in upper case.
std::optional<std::filesystem::path> BuildModule(const PeToolchain& tools,
                                                 const std::filesystem::path& folder,
                                                 const std::string& name, const std::string& script,
                                                 std::string* log = nullptr);

}  // namespace pictarix::testing
