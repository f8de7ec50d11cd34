// Writes the largest icon libraries there can be and reads them back, timing each step.
//   pictarix_library_bench icons|images [folder]
// "icons": 5454 icons without images. "images": 1818 icons of two images, 32x32 and 16x16 at 4
// bits. Both are the most resources a library's header can place
// (IconLibraryWriter::kMaxResources). Peak memory: run it under /usr/bin/time -v
// (bench/library-memory.sh measures large images).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "formats/IconLibrary.h"
#include "formats/ne/IconLibraryWriter.h"
#include "output/OutputFiles.h"
#include "support/NeBuilder.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pictarix;
  const std::string kind = argc > 1 ? argv[1] : "";
  if (kind != "icons" && kind != "images") {
    std::fprintf(stderr, "usage: %s icons|images [folder]\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder =
      argc > 2 ? std::filesystem::path(argv[2]) : std::filesystem::temp_directory_path();
  const auto target = folder / ("pictarix-bench-" + kind + ".icl");

  auto start = Clock::now();
  IconLibrary library;
  if (kind == "icons") {
    for (std::int64_t i = 0; i < IconLibraryWriter::kMaxResources; ++i) {
      library.Icons.AddIcon("", std::make_unique<AdvancedIcon>());
    }
  } else {
    const auto large = testing::DibImage(32, 4, 0x11);
    const auto small = testing::DibImage(16, 4, 0x22);
    for (std::int64_t i = 0; i < IconLibraryWriter::kMaxResources / 3; ++i) {
      library.Icons.AddIcon("", testing::IconFromImages({large, small}));
    }
  }
  std::printf("build  %8.1f ms  %d icons\n", MillisecondsSince(start), library.Icons.Count());

  start = Clock::now();
  SaveIconLibrary(library.Icons, target);
  std::printf("write  %8.1f ms  %ju bytes\n", MillisecondsSince(start),
              static_cast<std::uintmax_t>(std::filesystem::file_size(target)));

  start = Clock::now();
  IconLibrary back;
  const LoadOutcome result = back.LoadFromFile(target);
  std::printf("read   %8.1f ms  %d icons%s\n", MillisecondsSince(start), back.Icons.Count(),
              result == LoadOutcome::Loaded ? "" : " (read failed)");

  start = Clock::now();
  const bool isLibrary = IsIconLibraryFile(target);
  std::printf("check  %8.1f ms  %s\n", MillisecondsSince(start),
              isLibrary ? "icon library" : "not an icon library");
  std::filesystem::remove(target);
  return result == LoadOutcome::Loaded && isLibrary ? 0 : 1;
}
