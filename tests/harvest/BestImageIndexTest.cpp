#include <gtest/gtest.h>

#include "formats/ico/IconFileReader.h"
#include "harvest/BestImageIndex.h"
#include "support/HarvestFixtures.h"
#include "support/IconFileBuilder.h"

namespace pictarix {
namespace {

using testing::MakeIcon;

// The images as (bit count, width), in their order.
std::vector<std::pair<int, int>> OrderOf(const AdvancedIcon& icon) {
  std::vector<std::pair<int, int>> order;
  for (int i = 0; i < icon.Images.Count(); ++i)
    order.emplace_back(icon.Images.Get(i)->BitCount, icon.Images.Get(i)->Width);
  return order;
}

// An icon with its images ordered as the harvest orders an entry's.
std::unique_ptr<AdvancedIcon> MakeEntryIcon(const std::vector<std::pair<int, int>>& images) {
  auto icon = MakeIcon(images);
  icon->Images.Sort();
  return icon;
}

TEST(BestImageIndexTest, SizeModeTakesTheDeepestImageOfThatSizeAndLeavesTheOrder) {
  auto unsorted = MakeIcon({{48, 8}, {32, 4}, {16, 8}, {32, 8}, {32, 32}});
  const auto before = OrderOf(*unsorted);
  EXPECT_EQ(BestImageIndex(*unsorted, 32, 0), 4);  // the last 32x32 image as given
  EXPECT_EQ(OrderOf(*unsorted), before);

  auto icon = MakeEntryIcon({{48, 8}, {32, 4}, {16, 8}, {32, 8}, {32, 32}});
  EXPECT_EQ(BestImageIndex(*icon, 32, 0), 4);  // the 32-bit 32x32 image
  // The entry's order: 4/32, 8/16, 8/32, 8/48, 32/32.
  EXPECT_EQ(OrderOf(*icon),
            (std::vector<std::pair<int, int>>{{4, 32}, {8, 16}, {8, 32}, {8, 48}, {32, 32}}));
  EXPECT_EQ(BestImageIndex(*icon, 48, 0), 3);
  EXPECT_EQ(BestImageIndex(*icon, 24, 0), -1);
}

TEST(BestImageIndexTest, ColourModeTakesTheDeepestImageOfAtMostThatManyColours) {
  auto icon = MakeEntryIcon({{32, 32}, {32, 4}, {32, 8}});
  EXPECT_EQ(BestImageIndex(*icon, 0, 256), 1);  // the 8-bit image
  EXPECT_EQ(BestImageIndex(*icon, 0, 16), 0);
  auto trueColour = MakeEntryIcon({{32, 32}, {48, 24}});
  EXPECT_EQ(BestImageIndex(*trueColour, 0, 256), -1);
  EXPECT_EQ(BestImageIndex(*icon, 0, 0), -1);
  EXPECT_EQ(BestImageIndex(*icon, 8, 256), 1);  // 8 is not a size: colour mode
}

TEST(BestImageIndexTest, GifChoiceFollowsOneMoreSortAndLeavesTheIcon) {
  auto icon = MakeEntryIcon({{16, 8}, {16, 8}, {32, 24}});
  const IconImage* first = icon->Images.Get(0);
  EXPECT_EQ(BestImageIndex(*icon, 0, 256), 1);
  EXPECT_EQ(BestGifImageIndex(*icon, 256), 0);  // one more sort swaps the equal pair
  EXPECT_EQ(icon->Images.Get(0), first);
  EXPECT_EQ(BestGifImageIndex(*MakeEntryIcon({{32, 24}}), 256), -1);
}

TEST(BestImageIndexTest, PngAnd256PixelImagesAreNeverChosenBySize) {
  testing::IconFileBuilder builder;
  builder.AddImage(testing::PngImageStub(256, 256));
  builder.AddImage(testing::BlankDibImage(32, 32, 8));
  MemoryStream stream(builder.Build());
  AdvancedIcon icon;
  ASSERT_TRUE(ReadIconFile(stream, icon));
  icon.Images.Sort();
  EXPECT_EQ(BestImageIndex(icon, 32, 0), 0);
  EXPECT_EQ(icon.Images.Get(1)->BitCount, 21060);  // the PNG image sorts last
  AdvancedIcon empty;
  EXPECT_EQ(BestImageIndex(empty, 32, 0), -1);
}

}  // namespace
}  // namespace pictarix
