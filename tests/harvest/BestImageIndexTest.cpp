#include <gtest/gtest.h>

#include "harvest/BestImageIndex.h"
#include "support/HarvestFixtures.h"
#include "support/IconFileBuilder.h"

namespace pictarix {
namespace {

using testing::MakeIcon;

TEST(BestImageIndexTest, SizeModeTakesTheDeepestImageOfThatSizeAndSortsInPlace) {
  auto icon = MakeIcon({{48, 8}, {32, 4}, {16, 8}, {32, 8}, {32, 32}});
  EXPECT_EQ(BestImageIndex(*icon, 32, 0), 4);  // the 32-bit 32x32 image
  // The order stays sorted: 4/32, 8/16, 8/32, 8/48, 32/32.
  std::vector<std::pair<int, int>> order;
  for (int i = 0; i < icon->Images.Count(); ++i)
    order.emplace_back(icon->Images.Get(i)->BitCount, icon->Images.Get(i)->Width);
  EXPECT_EQ(order,
            (std::vector<std::pair<int, int>>{{4, 32}, {8, 16}, {8, 32}, {8, 48}, {32, 32}}));
  EXPECT_EQ(BestImageIndex(*icon, 48, 0), 3);
  EXPECT_EQ(BestImageIndex(*icon, 24, 0), -1);
}

TEST(BestImageIndexTest, ColourModeTakesTheDeepestImageOfAtMostThatManyColours) {
  auto icon = MakeIcon({{32, 32}, {32, 4}, {32, 8}});
  EXPECT_EQ(BestImageIndex(*icon, 0, 256), 1);  // the 8-bit image
  EXPECT_EQ(BestImageIndex(*icon, 0, 16), 0);
  auto trueColour = MakeIcon({{32, 32}, {48, 24}});
  EXPECT_EQ(BestImageIndex(*trueColour, 0, 256), -1);
  EXPECT_EQ(BestImageIndex(*icon, 0, 0), -1);
  EXPECT_EQ(BestImageIndex(*icon, 8, 256), 1);  // 8 is not a size: colour mode
}

TEST(BestImageIndexTest, PngAnd256PixelImagesAreNeverChosenBySize) {
  testing::IconFileBuilder builder;
  builder.AddImage(testing::PngImageStub(256, 256));
  builder.AddImage(testing::BlankDibImage(32, 32, 8));
  TMemoryStream stream(builder.Build());
  TAdvancedIcon icon;
  ASSERT_TRUE(icon.LoadFromStream(stream));
  EXPECT_EQ(BestImageIndex(icon, 32, 0), 0);
  EXPECT_EQ(icon.Images.Get(1)->BitCount, 21060);  // the PNG image sorts last
  TAdvancedIcon empty;
  EXPECT_EQ(BestImageIndex(empty, 32, 0), -1);
}

}  // namespace
}  // namespace pictarix
