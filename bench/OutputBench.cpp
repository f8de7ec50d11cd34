// Converts every entry of a harvested folder to each output format, timing each format.
//   pictarix_output_bench [folder] [output-folder]
// The folder defaults to Wine's 64-bit DLL folder. "convert" encodes in memory (the work of
// Save As without the file); with an output folder, "save" also writes every file through
// SaveEntryAs (safe replacement: temporary file, flush, rename).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "formats/dib/BmpEncoder.h"
#include "formats/ico/IconFileWriter.h"
#include "harvest/BestImageIndex.h"
#include "harvest/Harvester.h"
#include "imaging/ImagePicture.h"
#include "os/Stream.h"
#include "output/EntryPictures.h"
#include "output/SaveEntry.h"
#include "support/QuietHost.h"

namespace {

using namespace pictarix;
using Clock = std::chrono::steady_clock;

using testing::QuietHost;

// The bytes Save As would write for one entry; how many bytes (0: no file).
std::size_t Convert(const ListEntry& entry, const TileList& tiles, SaveFormat format) {
  switch (format) {
    case SaveFormat::Icon: {
      MemoryStream stream;
      WriteIconFile(*entry.Icon, stream);
      return static_cast<std::size_t>(stream.Size());
    }
    case SaveFormat::Gif: {
      const int best = BestGifImageIndex(*entry.Icon, 256);
      if (best < 0) return 0;
      auto graphic = MakeGraphic(*entry.Icon->Images.Get(best));
      return graphic->Empty() ? 0 : GraphicToGif(*graphic).size();
    }
    case SaveFormat::Bitmap: {
      const auto tile = TileToBitmap(entry, tiles);
      return tile ? EncodeBmp(*tile).size() : 0;
    }
    case SaveFormat::Jpeg: {
      const auto jpeg = TileToJpeg(entry, tiles);
      return jpeg ? jpeg->size() : 0;
    }
    case SaveFormat::Png: {
      const auto png = TileToPng(entry, tiles);
      return png ? png->size() : 0;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path folder =
      argc > 1 ? argv[1] : "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows";
  const std::filesystem::path output = argc > 2 ? argv[2] : "";
  QuietHost host;
  Harvester harvester(host);
  auto start = Clock::now();
  harvester.HarvestDirectory(folder);
  const int count = static_cast<int>(harvester.Entries.size());
  std::printf("harvest %8.1f ms  %d files, %d entries\n",
              std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
              harvester.FileCount, count);
  if (count == 0) return 1;

  for (const auto format :
       {SaveFormat::Icon, SaveFormat::Gif, SaveFormat::Bitmap, SaveFormat::Jpeg, SaveFormat::Png}) {
    const std::string name = ExtFromFormat(format).substr(1);
    std::size_t bytes = 0;
    int files = 0;
    start = Clock::now();
    for (int i = 0; i < count; ++i) {
      const std::size_t size = Convert(harvester.Entries[i], harvester.LargeImgs, format);
      bytes += size;
      files += size > 0 ? 1 : 0;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("convert %s %9.0f entries/s  %d files, %zu bytes\n", name.c_str(), count / seconds,
                files, bytes);
    if (output.empty()) continue;
    start = Clock::now();
    for (int i = 0; i < count; ++i) {
      SaveEntryAs(harvester.Entries[i], harvester.LargeImgs,
                  output / (std::to_string(i) + ExtFromFormat(format)), format);
    }
    std::printf("save    %s %9.0f entries/s\n", name.c_str(),
                count / std::chrono::duration<double>(Clock::now() - start).count());
  }
  return 0;
}
