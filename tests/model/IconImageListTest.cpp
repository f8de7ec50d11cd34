#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "model/IconImageList.h"
#include "os/Errors.h"

namespace pictarix {
namespace {

// An image that compares by (bit count, width) and carries a tag in Planes, which takes no part
// in the order.
std::unique_ptr<IconImage> Image(std::uint16_t bitCount, std::uint8_t width, std::uint16_t tag) {
  auto image = std::make_unique<IconImage>();
  image->BitCount = bitCount;
  image->Width = width;
  image->Height = width;
  image->Planes = tag;
  return image;
}

IconImageList ListOf(const std::vector<std::pair<std::uint16_t, std::uint8_t>>& keys) {
  IconImageList list;
  std::uint16_t tag = 0;
  for (auto [bits, width] : keys) list.Add(Image(bits, width, tag++));
  return list;
}

std::vector<std::uint16_t> Tags(const IconImageList& list) {
  std::vector<std::uint16_t> tags;
  for (int i = 0; i < list.Count(); ++i) tags.push_back(list.Get(i)->Planes);
  return tags;
}

TEST(IconImageListSortTest, OrdersByBitCountThenWidth) {
  IconImageList list = ListOf({{8, 32}, {4, 16}, {32, 48}, {8, 16}});
  list.Sort();
  std::vector<std::pair<int, int>> keys;
  for (int i = 0; i < list.Count(); ++i)
    keys.emplace_back(list.Get(i)->BitCount, list.Get(i)->Width);
  EXPECT_EQ(keys, (std::vector<std::pair<int, int>>{{4, 16}, {8, 16}, {8, 32}, {32, 48}}));
}

TEST(IconImageListSortTest, Size256AndPngPlaces) {
  // 256 is stored as width 0: first among its bit count. PNG data reads as bit count 21060.
  IconImageList list = ListOf({{32, 16}, {21060, 0}, {32, 0}, {32, 48}});
  list.Sort();
  EXPECT_EQ(Tags(list), (std::vector<std::uint16_t>{2, 0, 3, 1}));
}

TEST(IconImageListSortTest, EqualImagesEndWhereThePartitioningLeavesThem) {
  // Not stable: a stable sort would keep 0, 1, 2 and 3, 1, 4, 0, 2, 5.
  IconImageList three = ListOf({{8, 32}, {8, 32}, {8, 32}});
  three.Sort();
  EXPECT_EQ(Tags(three), (std::vector<std::uint16_t>{2, 1, 0}));

  IconImageList mixed = ListOf({{8, 32}, {8, 32}, {4, 16}, {8, 32}});
  mixed.Sort();
  EXPECT_EQ(Tags(mixed), (std::vector<std::uint16_t>{2, 3, 0, 1}));

  IconImageList six = ListOf({{32, 32}, {32, 16}, {32, 32}, {4, 32}, {32, 16}, {32, 32}});
  six.Sort();
  EXPECT_EQ(Tags(six), (std::vector<std::uint16_t>{3, 4, 1, 5, 0, 2}));
}

TEST(IconImageListSortTest, EmptyAndLargeListsSort) {
  IconImageList empty;
  empty.Sort();
  EXPECT_EQ(empty.Count(), 0);

  // Many equal keys in descending runs: ends sorted, without deep recursion.
  IconImageList large;
  for (int i = 0; i < 20000; ++i) {
    large.Add(Image(static_cast<std::uint16_t>(32 - (i % 5) * 8),
                    static_cast<std::uint8_t>(255 - i % 256), static_cast<std::uint16_t>(i)));
  }
  large.Sort();
  for (int i = 1; i < large.Count(); ++i) {
    ASSERT_LE(CompareIconImages(*large.Get(i - 1), *large.Get(i)), 0) << i;
  }
}

TEST(IconImageListTest, GetAnswersNothingOutsideTheList) {
  IconImageList list = ListOf({{8, 32}, {4, 16}});
  EXPECT_NE(list.Get(1), nullptr);
  EXPECT_EQ(list.Get(2), nullptr);  // index equal to Count
  EXPECT_EQ(list.Get(-1), nullptr);
  EXPECT_EQ(IconImageList().Get(0), nullptr);
}

TEST(IconImageListTest, CapacityNeverBelowCountAndClearReleasesAll) {
  IconImageList list;
  list.SetCapacity(5);
  EXPECT_EQ(list.Capacity(), 5);
  for (int i = 0; i < 6; ++i) list.Add(Image(8, 16, 0));
  EXPECT_EQ(list.Count(), 6);
  EXPECT_EQ(list.Capacity(), 6);  // grew by one slot
  list.SetCapacity(2);
  EXPECT_EQ(list.Capacity(), 6);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0);
}

TEST(IconImageListTest, HoldsAtMost65535Images) {
  IconImageList list;
  list.SetCapacity(65535);
  for (int i = 0; i < 65535; ++i) list.Add(std::make_unique<IconImage>());
  EXPECT_EQ(list.Count(), 65535);
  EXPECT_THROW(list.Add(std::make_unique<IconImage>()), PictarixError);
  EXPECT_EQ(list.Count(), 65535);
}

}  // namespace
}  // namespace pictarix
