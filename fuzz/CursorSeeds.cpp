// Writes the seed corpus of CursorFuzzer: cursor files and animated cursors made by the test
// fixture builders.
//   pictarix_cursor_seeds <folder>
#include <cstdio>
#include <filesystem>

#include "SeedFolder.h"
#include "support/CursorBuilder.h"
#include "support/FileBytes.h"
#include "support/IconFileBuilder.h"

using namespace pictarix::testing;

int main(int argc, char** argv) {
  const std::optional<std::filesystem::path> seeds = SeedFolder(argc, argv);
  if (!seeds) return 2;
  const std::filesystem::path& folder = *seeds;

  const ByteVector still =
      CursorFile({{BlankDibImage(32, 32, 1), 3, 9}, {PngImageStub(48, 48), 5, 13}});
  WriteBytes(folder / "still.cur", still);
  IconFileBuilder icon;
  icon.AddImage(BlankDibImage(16, 16, 4));
  const ByteVector frameB = CursorFile({{BlankDibImage(16, 16, 4), 15, 15}});

  WriteBytes(folder / "full.ani",
             RiffFile({AniHeader(3, 4, 6, 3), Chunk("rate", Words({6, 0, 12, 6})),
                       Chunk("seq ", Words({0, 1, 2, 1})),
                       List("INFO", {Chunk("INAM", {'W', 'a', 'i', 't', 0}), Chunk("IART", {'x'})}),
                       List("fram", {Chunk("icon", still), Chunk("icon", frameB),
                                     Chunk("icon", icon.Build())})}));
  WriteBytes(folder / "plain.ani",
             RiffFile({List("fram", {Chunk("icon", frameB)}), AniHeader(1, 1, 10)}));
  WriteBytes(folder / "raw.ani",
             RiffFile({AniHeader(1, 1, 10, 0), List("fram", {Chunk("icon", frameB)})}));
  return 0;
}
