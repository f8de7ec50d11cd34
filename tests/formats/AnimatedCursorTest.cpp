#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/FileIcons.h"
#include "formats/ani/AnimatedCursorReader.h"
#include "model/Animation.h"
#include "os/Errors.h"
#include "os/Stream.h"
#include "support/CursorBuilder.h"
#include "support/IconFileBuilder.h"
#include "support/PeModuleBuilder.h"

namespace pictarix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace pictarix::testing;

const Bytes kFrameA = CursorFile({{BlankDibImage(32, 32, 1), 1, 2}});
const Bytes kFrameB = CursorFile({{BlankDibImage(32, 32, 4), 30, 31}});

using Steps = std::vector<std::pair<std::uint32_t, std::uint32_t>>;  // frame, jiffies

Steps StepsOf(const AdvancedIcon& cursor) {
  Steps steps;
  for (const AnimationStep& step : cursor.Frames->Steps)
    steps.emplace_back(step.Frame, step.Jiffies);
  return steps;
}

TEST(AnimatedCursorTest, ReadsFramesStepsRatesAndTextsInAnyOrder) {
  const Bytes file = RiffFile(
      {List("INFO", {Chunk("INAM", {'B', 'u', 's', 'y', 0}), Chunk("IART", {'M', 'e', 0})}),
       Chunk("seq ", Words({1, 0, 1})), Chunk("rate", Words({10, 0, 20})),
       List("fram", {Chunk("icon", kFrameA), Chunk("icon", kFrameB)}), AniHeader(2, 3, 6, 3)});
  AdvancedIcon cursor;
  EXPECT_EQ(ReadAnimatedCursor(file, cursor), "");
  EXPECT_EQ(cursor.Kind, EntryKind::Animated);
  ASSERT_EQ(cursor.Frames->Frames.size(), 2u);
  EXPECT_EQ(cursor.Frames->Frames[1]->Kind, EntryKind::Cursor);
  // A rate of 0 is one jiffy.
  EXPECT_EQ(StepsOf(cursor), (Steps{{1, 10}, {0, 1}, {1, 20}}));
  EXPECT_EQ(cursor.Frames->Title, "Busy");
  EXPECT_EQ(cursor.Frames->Author, "Me");
  // The entry's own images are the first step's frame.
  ASSERT_EQ(cursor.Images.Count(), 1);
  EXPECT_EQ(cursor.Images.Get(0)->Hotspot, (CursorHotspot{30, 31}));

  // Without "seq " and "rate": every frame in order at the header's rate.
  const Bytes plain = RiffFile(
      {AniHeader(2, 2, 6), List("fram", {Chunk("icon", kFrameA), Chunk("icon", kFrameB)})});
  AdvancedIcon simple;
  ReadAnimatedCursor(plain, simple);
  EXPECT_EQ(StepsOf(simple), (Steps{{0, 6}, {1, 6}}));
}

TEST(AnimatedCursorTest, BadFormsAreRefusedWithTheirReason) {
  const auto reason = [](const Bytes& file) {
    AdvancedIcon cursor;
    try {
      ReadAnimatedCursor(file, cursor);
    } catch (const FormatError& error) {
      return std::string(error.what());
    }
    return std::string("read");
  };
  const Bytes frames = List("fram", {Chunk("icon", kFrameA)});
  EXPECT_NE(reason(RiffFile({AniHeader(1, 1, 6, 0), frames})).find("raw frames"),
            std::string::npos);
  EXPECT_NE(reason(RiffFile({frames})).find("anih"), std::string::npos);
  EXPECT_NE(reason(RiffFile({AniHeader(1, 1, 6)})).find("without a frame"), std::string::npos);
  EXPECT_NE(reason(RiffFile({AniHeader(1, 1, 6), frames}, "WAVE")).find("Not"), std::string::npos);
  EXPECT_NE(reason(Bytes{'R', 'I', 'F', 'F'}).find("Not"), std::string::npos);
}

TEST(AnimatedCursorTest, WhatCannotBeTrustedIsLeftOutAndSaid) {
  // Steps naming frames that are not there or cannot be read, a list inside the frame list,
  // millions of steps claimed, and a last chunk claiming more than the file holds.
  const Bytes file = RiffFile({AniHeader(3, 0xFFFFFFFF, 0), Chunk("seq ", Words({0, 7, 1, 0})),
                               List("fram", {Chunk("icon", kFrameA), Chunk("icon", {1, 2, 3}),
                                             List("fram", {Chunk("icon", kFrameB)})}),
                               Chunk("rate", Words({5}), 0x7FFFFFFF)});
  AdvancedIcon cursor;
  const std::string leftOut = ReadAnimatedCursor(file, cursor);
  EXPECT_EQ(cursor.Frames->Frames.size(), 2u);
  EXPECT_EQ(StepsOf(cursor), (Steps{{0, 5}, {0, 1}}));
  EXPECT_NE(leftOut.find("1 of 2 frames"), std::string::npos) << leftOut;
  EXPECT_NE(leftOut.find("2 steps"), std::string::npos) << leftOut;
  EXPECT_NE(leftOut.find("cut off"), std::string::npos) << leftOut;
}

TEST(AnimatedCursorTest, FilesAndModulesGiveAnimatedEntriesByContent) {
  const Bytes ani = RiffFile({AniHeader(1, 1, 6), List("fram", {Chunk("icon", kFrameA)})});
  FileIconsOptions named;
  named.CursorFiles = true;
  MemoryStream stream(ani);
  const FileIcons read = ReadFileIcons(stream, "wait.cur", named);  // named ".cur", holds "ACON"
  ASSERT_EQ(read.Icons.size(), 1u);
  EXPECT_EQ(read.Icons[0].Name, "wait");
  EXPECT_EQ(read.Icons[0].Icon->Kind, EntryKind::Animated);

  PeModuleBuilder pe;
  pe.AddResource(21, ResourceName::FromName(u"BUSY"), ani);
  pe.AddResource(22, ResourceName::FromId(5), ani);
  pe.AddResource(21, ResourceName::FromId(6), {1, 2, 3});  // not an animated cursor: left out
  MemoryStream module(pe.Build());
  FileIconsOptions cursors;
  cursors.Cursors = true;
  const FileIcons fromModule = ReadFileIcons(module, "m.dll", cursors);
  ASSERT_EQ(fromModule.Icons.size(), 2u);
  EXPECT_EQ(fromModule.Icons[0].Name, "BUSY");
  EXPECT_EQ(fromModule.Icons[0].Icon->Kind, EntryKind::Animated);
  EXPECT_EQ(fromModule.Icons[1].Name, "5");
  ASSERT_EQ(fromModule.Unreadable.size(), 1u);  // said, not dropped silently
  EXPECT_EQ(fromModule.Unreadable[0].rfind("animated cursor 6: ", 0), 0u)
      << fromModule.Unreadable[0];
}

}  // namespace
}  // namespace pictarix
