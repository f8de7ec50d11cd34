// Writes the seed corpus of IconFileFuzzer: small icon files made by the test fixture builder.
//   pictarix_icon_seeds <folder>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/IconFileBuilder.h"

using pictarix::testing::BlankDibImage;
using pictarix::testing::IconFileBuilder;
using pictarix::testing::PngImageStub;

namespace {

void WriteSeed(const std::filesystem::path& folder, const std::string& name,
               const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);

  IconFileBuilder classic;
  classic.AddImage(BlankDibImage(16, 16, 4));
  classic.AddImage(BlankDibImage(32, 32, 8));
  classic.AddImage(BlankDibImage(16, 16, 1));
  WriteSeed(folder, "classic.ico", classic.Build());

  IconFileBuilder modern;
  modern.AddImage(BlankDibImage(24, 24, 32));
  modern.AddImage(PngImageStub(256, 256));
  WriteSeed(folder, "png.ico", modern.Build());

  IconFileBuilder reversed;
  reversed.AddImage(BlankDibImage(8, 8, 24));
  reversed.AddImage(BlankDibImage(4, 4, 16));
  reversed.DataOrder({1, 0});
  WriteSeed(folder, "reversed.ico", reversed.Build());

  IconFileBuilder cutOff;
  cutOff.AddImage(BlankDibImage(16, 16, 4)).Offset = 60;
  std::vector<std::uint8_t> cut = cutOff.Build();
  cut.resize(cut.size() - 40);
  WriteSeed(folder, "cut-off.ico", cut);

  IconFileBuilder cursor;
  cursor.Type(2).AddImage(BlankDibImage(2, 2, 1));
  WriteSeed(folder, "cursor.cur", cursor.Build());

  WriteSeed(folder, "empty.ico", IconFileBuilder().Build());
  return 0;
}
