// Harvest speed over a generated tree of small files: files per second and peak memory.
//   pictarix_harvest_bench generate DIR [FILES [PER_FOLDER]]
//                                                 make a tree (default 100000 files, 100 per
//                                                 folder, 1000 folders per top folder; 3% icon
//                                                 files, 1% icon libraries, the rest data), with a
//                                                 symbolic-link cycle and every 1000th folder
//                                                 unreadable (mode 000; root reads it anyway:
//                                                 harvest as another user)
//   pictarix_harvest_bench run DIR [--tiles]      harvest it as the command-line list does
//                                                 (--tiles: also decode the 32x32 tiles, as the
//                                                 window)
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/IconLibrary.h"
#include "formats/ico/IconFileReader.h"
#include "harvest/Harvester.h"
#include "os/SafeFile.h"
#include "os/Stream.h"
#include "output/OutputFiles.h"
#include "support/QuietHost.h"

namespace {

using namespace pictarix;

// A 32x32 4-bit icon image (header, 16-colour table, colour bits, mask).
std::vector<std::uint8_t> FourBitImage(int size) {
  const std::size_t colourRow = static_cast<std::size_t>((size * 4 + 31) / 32 * 4);
  const std::size_t maskRow = static_cast<std::size_t>((size + 31) / 32 * 4);
  std::vector<std::uint8_t> bytes(40 + 64 + colourRow * size + maskRow * size, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, static_cast<std::uint32_t>(size));
  put32(8, static_cast<std::uint32_t>(size * 2));
  bytes[12] = 1;
  bytes[14] = 4;
  for (std::size_t i = 40 + 64; i < 40 + 64 + colourRow * size; ++i) bytes[i] = 0x12;
  bytes[40 + 4] = 0xFF;      // colour 1 red
  bytes[40 + 8 + 1] = 0xFF;  // colour 2 green
  return bytes;
}

std::vector<std::uint8_t> IconFileBytes() {
  const auto small = FourBitImage(16);
  const auto large = FourBitImage(32);
  MemoryStream stream;
  stream.WriteU16(0);
  stream.WriteU16(1);
  stream.WriteU16(2);
  std::uint32_t offset = 6 + 2 * 16;
  for (const auto* image : {&small, &large}) {
    const int size = image == &small ? 16 : 32;
    stream.WriteU8(static_cast<std::uint8_t>(size));
    stream.WriteU8(static_cast<std::uint8_t>(size));
    stream.WriteU16(16);
    stream.WriteU16(1);
    stream.WriteU16(4);
    stream.WriteU32(static_cast<std::uint32_t>(image->size()));
    stream.WriteU32(offset);
    offset += static_cast<std::uint32_t>(image->size());
  }
  stream.Write(small);
  stream.Write(large);
  return stream.TakeBytes();
}

// A plain write: the safe replacement's flush to disk would make a million files take hours.
void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    std::perror(path.c_str());
    std::exit(1);
  }
  std::fclose(file);
}

int Generate(const std::filesystem::path& root, long files, long perFolder) {
  const auto icon = IconFileBytes();
  IconLibrary library;
  for (int i = 0; i < 8; ++i) {
    auto member = std::make_unique<AdvancedIcon>();
    MemoryStream stream(icon);
    ReadIconFile(stream, *member);
    library.Icons.AddIcon("icon " + std::to_string(i), std::move(member));
  }
  std::filesystem::create_directories(root);
  SaveIconLibrary(library.Icons, root / "template.icl");
  const auto libraryBytes = ReadWholeFile(root / "template.icl");
  std::filesystem::remove(root / "template.icl");
  const std::vector<std::uint8_t> data(120, 0x41);
  std::vector<std::filesystem::path> unreadable;
  long hidden = 0;
  for (long i = 0; i < files; ++i) {
    const long folderNumber = i / perFolder;
    const auto folder =
        root / ("d" + std::to_string(folderNumber / 1000)) / ("s" + std::to_string(folderNumber));
    if (i % perFolder == 0) {
      std::filesystem::create_directories(folder);
      if (folderNumber % 1000 == 999) unreadable.push_back(folder);
    }
    if (folderNumber % 1000 == 999) ++hidden;
    const long kind = i % 100;
    if (kind < 3) {
      WriteFile(folder / ("pic" + std::to_string(i) + ".ico"), icon);
    } else if (kind == 3) {
      WriteFile(folder / ("lib" + std::to_string(i) + ".icl"), libraryBytes);
    } else {
      WriteFile(folder / ("file" + std::to_string(i) + ".dat"), data);
    }
  }
  // A cycle: a link back to the root from inside the tree (the walk must not follow it).
  std::filesystem::create_directory_symlink("../..", root / "d0" / "s0" / "back-to-root");
  for (const auto& folder : unreadable) chmod(folder.c_str(), 0);
  std::printf("generated %ld files under %s (%ld in %zu unreadable folders)\n", files, root.c_str(),
              hidden, unreadable.size());
  return 0;
}

using testing::QuietHost;

int Harvest(const std::filesystem::path& root, bool tiles) {
  QuietHost host(tiles);
  Harvester harvester(host);
  const auto start = std::chrono::steady_clock::now();
  harvester.HarvestDirectory(root);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%d files, %zu entries in %.2f s: %.0f files/s, %.0f entries/s, peak RSS %ld MB\n",
              harvester.FileCount, harvester.Entries.size(), seconds, harvester.FileCount / seconds,
              harvester.Entries.size() / seconds, usage.ru_maxrss / 1024);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "generate") == 0) {
    const long perFolder = argc >= 5 ? std::max(1L, std::atol(argv[4])) : 100;
    return Generate(argv[2], argc >= 4 ? std::atol(argv[3]) : 100000, perFolder);
  }
  if (argc >= 3 && std::strcmp(argv[1], "run") == 0) {
    return Harvest(argv[2], argc >= 4 && std::strcmp(argv[3], "--tiles") == 0);
  }
  std::fprintf(stderr, "usage: %s generate DIR [FILES [PER_FOLDER]] | run DIR [--tiles]\n",
               argv[0]);
  return 2;
}
