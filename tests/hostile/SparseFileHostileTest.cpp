// Sparse files: 4 GiB that take a few KiB on disk, whose icon entries claim what the apparent
// size would allow. What a file may cost follows the bytes it really holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "harvest/Harvester.h"
#include "os/ReadBudget.h"
#include "os/Stream.h"
#include "support/NeBuilder.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

class QuietHost : public HarvestHost {
 public:
  void SetPanelText(int, const std::string&) override {}
  void ShowPreview(const IconGraphic&) override {}
  bool WantsTiles() const override { return false; }
};

// An icon file header with `count` entries of `claim` bytes each, at distinct offsets, grown
// to 4 GiB with a hole.
void WriteSparseIconFile(const std::filesystem::path& path, std::uint16_t count,
                         std::uint32_t claim, std::uint32_t step) {
  std::vector<std::uint8_t> bytes(6 + 16 * count, 0);
  bytes[2] = 1;
  bytes[4] = static_cast<std::uint8_t>(count);
  bytes[5] = static_cast<std::uint8_t>(count >> 8);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint8_t* entry = &bytes[6 + 16 * i];
    entry[0] = entry[1] = 32;
    const std::uint32_t offset = 4096 + i * step;
    for (int b = 0; b < 4; ++b) {
      entry[8 + b] = static_cast<std::uint8_t>(claim >> (8 * b));
      entry[12 + b] = static_cast<std::uint8_t>(offset >> (8 * b));
    }
  }
  testing::WriteBytes(path, bytes);
  std::filesystem::resize_file(path, 4ull << 30);
}

TEST(SparseFileHostileTest, ClaimsBeyondWhatTheFileHoldsAreRefusedWithoutReadingThem) {
  testing::TempDir dir;
  const auto huge = dir.Path() / "huge.ico";  // every entry claims 3.75 GB
  const auto many = dir.Path() / "many.ico";  // 64 entries of 24 MiB: 1.5 GB of holes
  WriteSparseIconFile(huge, 16, 0xF0000000u, 16);
  WriteSparseIconFile(many, 64, 24u << 20, 24u << 20);
  if (FileStream(many).StoredSize() > (1u << 20)) GTEST_SKIP() << "no sparse files here";
  EXPECT_LT(ReadBudget(FileStream(many)).Left(), 300u << 20);

  QuietHost host;
  Harvester harvester(host);
  harvester.HarvestFile(huge);
  harvester.HarvestFile(many);
  EXPECT_EQ(harvester.FileCount, 2);
  EXPECT_TRUE(harvester.Entries.empty());
}

}  // namespace
}  // namespace pictarix
