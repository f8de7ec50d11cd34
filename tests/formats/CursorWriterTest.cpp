#include <gtest/gtest.h>

#include <vector>

#include "formats/ani/AnimatedCursorReader.h"
#include "formats/ani/AnimatedCursorWriter.h"
#include "formats/cur/CursorFileReader.h"
#include "formats/cur/CursorFileWriter.h"
#include "model/Animation.h"
#include "os/Stream.h"
#include "support/CursorBuilder.h"
#include "support/IconFileBuilder.h"

namespace pictarix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace pictarix::testing;

// The bytes and hotspot of each image, which a round trip must keep.
std::vector<std::pair<Bytes, CursorHotspot>> ImagesOf(const AdvancedIcon& icon) {
  std::vector<std::pair<Bytes, CursorHotspot>> images;
  for (int i = 0; i < icon.Images.Count(); ++i)
    images.emplace_back(icon.Images.Get(i)->Bytes(),
                        icon.Images.Get(i)->Hotspot.value_or(CursorHotspot{0xFFFF, 0xFFFF}));
  return images;
}

TEST(CursorWriterTest, CursorFileKeepsEveryImageAndHotspot) {
  MemoryStream in(CursorFile({{BlankDibImage(32, 32, 4), 3, 9}, {PngImageStub(48, 48), 47, 0}}));
  AdvancedIcon cursor;
  ASSERT_TRUE(ReadCursorFile(in, cursor));
  MemoryStream out;
  WriteCursorFile(cursor, out);
  out.Seek(0);
  AdvancedIcon again;
  ASSERT_TRUE(ReadCursorFile(out, again));
  EXPECT_EQ(ImagesOf(again), ImagesOf(cursor));

  // An icon's images have no hotspot: they point at 0,0.
  cursor.Images.Get(0)->Hotspot.reset();
  MemoryStream icon;
  WriteCursorFile(cursor, icon);
  icon.Seek(0);
  AdvancedIcon pointsAtZero;
  ASSERT_TRUE(ReadCursorFile(icon, pointsAtZero));
  EXPECT_EQ(pointsAtZero.Images.Get(0)->Hotspot, (CursorHotspot{0, 0}));
}

TEST(CursorWriterTest, AnimatedCursorIsItsSourceOrBuiltFromFramesAndSteps) {
  const Bytes frameA = CursorFile({{BlankDibImage(32, 32, 1), 1, 2}});
  const Bytes frameB = CursorFile({{BlankDibImage(16, 16, 4), 15, 3}});
  const Bytes file = RiffFile(
      {AniHeader(3, 3, 6, 3), Chunk("seq ", Words({2, 0, 2})), Chunk("rate", Words({4, 9, 0})),
       List("fram", {Chunk("icon", frameA), Chunk("icon", {1, 2, 3}), Chunk("icon", frameB)}),
       List("INFO", {Chunk("INAM", {'C', 'a', 'f', 0xE9, 0}), Chunk("IART", {'M', 'e', 0})})});
  AdvancedIcon cursor;
  ReadAnimatedCursor(file, cursor);
  MemoryStream source;
  WriteAnimatedCursor(cursor, source);
  EXPECT_EQ(source.Bytes(), file);

  // Without its source: a form of its own, the unreadable frame left out and the steps renumbered.
  auto copy = std::make_shared<Animation>();
  for (const auto& frame : cursor.Frames->Frames) {
    copy->Frames.push_back(std::make_unique<AdvancedIcon>());
    copy->Frames.back()->Assign(*frame);
  }
  copy->Steps = cursor.Frames->Steps;
  copy->Title = cursor.Frames->Title;
  copy->Author = cursor.Frames->Author;
  cursor.Frames = copy;
  MemoryStream built;
  WriteAnimatedCursor(cursor, built);
  AdvancedIcon again;
  EXPECT_EQ(ReadAnimatedCursor(built.Bytes(), again), "");
  ASSERT_EQ(again.Frames->Frames.size(), 2u);
  EXPECT_EQ(ImagesOf(*again.Frames->Frames[0]), ImagesOf(*copy->Frames[0]));
  EXPECT_EQ(ImagesOf(*again.Frames->Frames[1]), ImagesOf(*copy->Frames[2]));
  std::vector<std::pair<std::uint32_t, std::uint32_t>> steps;
  for (const AnimationStep& step : again.Frames->Steps)
    steps.emplace_back(step.Frame, step.Jiffies);
  EXPECT_EQ(steps, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{1, 4}, {0, 9}, {1, 1}}));
  EXPECT_EQ(again.Frames->Title, "Caf\u00e9");
  EXPECT_EQ(again.Frames->Author, "Me");
}

}  // namespace
}  // namespace pictarix
