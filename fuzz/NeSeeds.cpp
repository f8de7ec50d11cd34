// Writes the seed corpus of NeReaderFuzzer: small NE files made by the test fixture builder.
//   pictarix_ne_seeds <folder>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "SeedFolder.h"
#include "support/NeBuilder.h"

using pictarix::testing::DibImage;
using pictarix::testing::IclFile;
using pictarix::testing::NeFile;

int main(int argc, char** argv) {
  const std::optional<std::filesystem::path> seeds = SeedFolder(argc, argv);
  if (!seeds) return 2;
  const std::filesystem::path& folder = *seeds;
  const auto small = DibImage(16, 1, 0x11);   // 176 bytes
  const auto medium = DibImage(16, 4, 0x22);  // 296 bytes
  const auto write = [&folder](const std::string& name, const NeFile& file) {
    pictarix::testing::WriteBytes(folder / name, file.Build());
  };

  write("one.icl", IclFile({{"Folder", {small, medium}}}));
  write("shift4.icl", IclFile({{"A", {small}}, {"B", {medium}}, {"C", {}}}, 4));
  write("names1252.icl", IclFile({{"Caf\xE9 \x80\x81\x9D", {small}}, {"ICL", {small}}}));

  NeFile unnamed = IclFile({{"A", {small}}, {"B", {small}}});
  unnamed.Names = {"ICL"};
  write("unnamed.icl", unnamed);

  NeFile program = IclFile({{"APP", {small}}});
  program.Names = {"APPNAME", "APP"};
  program.Types.insert(program.Types.begin(),
                       {0x8006, {{0x8001, std::vector<std::uint8_t>(16, 'x'), {}, {}}}, {}});
  write("program.exe", program);

  NeFile bytesAsUnits = IclFile({{"A", {small, medium}}}, 4);
  bytesAsUnits.Types[1].Resources[0].LengthUnits = 176;
  bytesAsUnits.Types[1].Resources[1].LengthUnits = 296;
  write("bytes-as-units.icl", bytesAsUnits);
  return 0;
}
