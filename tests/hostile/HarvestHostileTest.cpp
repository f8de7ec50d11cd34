// A folder of hostile files of every format beside good ones: the harvest counts every file,
// fails per file, and lists exactly the icons of the good files with their tiles.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "harvest/Harvester.h"
#include "support/HarvestFixtures.h"
#include "support/IconFileBuilder.h"
#include "support/NeBuilder.h"
#include "support/QuietHost.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using Bytes = std::vector<std::uint8_t>;

using testing::QuietHost;

// An icon file of 65535 entries, entry i claiming the whole file from byte `i * step`.
Bytes ClaimsOnTheWholeFile(std::uint32_t step) {
  Bytes bytes = testing::IconFileBuilder().Count(0xFFFF).Build();
  bytes.resize(6 + 16 * 0xFFFF, 0);
  const auto size = static_cast<std::uint32_t>(bytes.size());
  for (std::uint32_t i = 0; i < 0xFFFF; ++i) {
    for (int b = 0; b < 4; ++b) {
      bytes[6 + 16 * i + 8 + b] = static_cast<std::uint8_t>(size >> (8 * b));
      bytes[6 + 16 * i + 12 + b] = static_cast<std::uint8_t>((i * step) >> (8 * b));
    }
  }
  return bytes;
}

TEST(HarvestHostileTest, HostileFilesFailOneByOneAndGoodOnesAreListed) {
  testing::TempDir dir;
  const auto path = [&](const char* name) { return dir.Path() / name; };
  testing::WriteIconFile(path("good.ico"), {{32, 4}, {16, 8}});
  testing::WriteIconLibrary(path("good.icl"), {{"Folder", {{32, 8}}}, {"Tiny", {{16, 4}}}});

  testing::WriteBytes(path("cut.ico"), Bytes{0, 0, 1});
  testing::WriteBytes(path("shared.ico"), ClaimsOnTheWholeFile(0));
  testing::WriteBytes(path("overlapping.ico"), ClaimsOnTheWholeFile(1));
  testing::NeFile shifted = testing::IclFile({{"A", {testing::DibImage(32, 4)}}});
  Bytes shiftedBytes = shifted.Build();
  testing::NeLayout layout;
  shifted.Build(&layout);
  shiftedBytes[layout.ResourceTablePos] = 200;
  testing::WriteBytes(path("shifted.icl"), shiftedBytes);
  testing::WriteBytes(path("mz-only.exe"), Bytes{'M', 'Z'});
  Bytes pe(0x200, 0);
  pe[0] = 'M';
  pe[1] = 'Z';
  pe[0x3C] = 0x40;
  pe[0x40] = 'P';
  pe[0x41] = 'E';
  pe[0x46] = 0xFF;  // 65535 sections, none in the file
  pe[0x47] = 0xFF;
  testing::WriteBytes(path("sections.dll"), pe);

  QuietHost host;
  Harvester harvester(host);
  harvester.HarvestDirectory(dir.Path());
  EXPECT_EQ(harvester.FileCount, 8);
  std::vector<std::string> captions;
  for (const ListEntry& entry : harvester.Entries) {
    captions.push_back(entry.Caption);
    EXPECT_GE(entry.ImageIndex, 0);
  }
  std::sort(captions.begin(), captions.end());
  EXPECT_EQ(captions, (std::vector<std::string>{"Folder", "good"}));
}

}  // namespace
}  // namespace pictarix
