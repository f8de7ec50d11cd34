// Writes the seed corpus of PeResourcesFuzzer: resource-only modules (PE32+ and PE32) linked by
// the MinGW binutils from the same kinds of scripts the tests use.
//   pictarix_pe_seeds <folder>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "SeedFolder.h"
#include "support/IconFileBuilder.h"
#include "support/PeFixture.h"

using pictarix::testing::PeToolchain;

namespace {

struct Seed {
  const char* Name;
  const char* Script;
};

constexpr Seed kSeeds[] = {
    {"groups",
     "1 ICON \"a.ico\"\n2 ICON \"b.ico\"\n3 RCDATA { 1, 2, 3 }\n"
     "32512 ICON \"a.ico\"\nZebra ICON \"b.ico\"\n"},
    {"languages",
     "LANGUAGE 9, 1\n5 ICON \"a.ico\"\nVIEW ICON \"a.ico\"\n"
     "LANGUAGE 7, 1\n5 ICON \"b.ico\"\nVIEW ICON \"b.ico\"\n"},
    {"nogroups", "7 RCDATA { 1 }\n"},
};

}  // namespace

int main(int argc, char** argv) {
  const std::optional<std::filesystem::path> seeds = SeedFolder(argc, argv);
  if (!seeds) return 2;
  const std::filesystem::path& out = *seeds;
  const std::filesystem::path work = out / "pe-seeds-work";
  std::filesystem::create_directories(work);
  using namespace pictarix::testing;
  IconFileBuilder large;
  large.AddImage(BlankDibImage(16, 16, 32));
  WriteBytes(work / "a.ico", large.Build());
  IconFileBuilder small;
  small.AddImage(BlankDibImage(8, 8, 4));
  WriteBytes(work / "b.ico", small.Build());

  const struct {
    const char* Suffix;
    PeToolchain Tools;
  } toolchains[] = {{"64", Pe32PlusToolchain()}, {"32", Pe32Toolchain()}};
  int written = 0;
  for (const auto& toolchain : toolchains) {
    if (!toolchain.Tools.Available()) continue;
    for (const Seed& seed : kSeeds) {
      const std::string name = std::string(seed.Name) + toolchain.Suffix;
      std::string log;
      const auto module = BuildModule(toolchain.Tools, work, name, seed.Script, &log);
      if (!module) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), log.c_str());
        continue;
      }
      std::filesystem::copy_file(*module, out / (name + ".dll"),
                                 std::filesystem::copy_options::overwrite_existing);
      ++written;
    }
  }
  std::filesystem::remove_all(work);
  std::printf("%d seed modules written\n", written);
  return written > 0 ? 0 : 1;
}
