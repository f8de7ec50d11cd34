#include "ThumbnailFixtures.h"

#include "support/HarvestFixtures.h"
#include "support/NeBuilder.h"
#include "support/PeFixture.h"

namespace pictarix::testing {

ThumbnailFixtures WriteThumbnailFixtures(const std::filesystem::path& folder) {
  ThumbnailFixtures fixtures;
  fixtures.Library = folder / "library.icl";
  WriteIconLibrary(fixtures.Library, {{"First", {{32, 4}, {256, 32}}}, {"Second", {{32, 4}}}});

  // An NE program: its icon, and a version resource an icon library would not hold.
  NeFile program = IclFile({{"APP", {SquareImage(32, 4)}}});
  program.Types.push_back({0x8010, {{0x8001, std::vector<std::uint8_t>(64, 1), {}, {}}}, {}});
  fixtures.Program16 = folder / "program16.exe";
  WriteBytes(fixtures.Program16, std::span<const std::uint8_t>(program.Build()));

  const PeToolchain tools = Pe32PlusToolchain();
  if (tools.Available()) {
    WriteIconFile(folder / "first.ico", {{48, 32}});
    WriteIconFile(folder / "second.ico", {{32, 32}, {16, 32}});
    // Named groups come first: "AAA" names an icon image the module lacks and "BLANK" holds no
    // icon header, so the window lists group 1 first.
    const std::vector<std::uint8_t> missing{0, 0, 1,  0, 1,    0,    32, 32, 0,  0,
                                            1, 0, 32, 0, 0xA8, 0x10, 0,  0,  99, 0};
    WriteBytes(folder / "missing.bin", std::span<const std::uint8_t>(missing));
    WriteBytes(folder / "blank.bin", std::span<const std::uint8_t>(std::vector<std::uint8_t>(8)));
    const auto module = BuildModule(tools, folder, "module",
                                    "AAA 14 \"missing.bin\"\nBLANK 14 \"blank.bin\"\n"
                                    "1 ICON \"first.ico\"\n"
                                    "2 ICON \"second.ico\"\n");
    if (module) fixtures.Module = *module;
  }
  return fixtures;
}

}  // namespace pictarix::testing
