// Writes the thumbnailer's fixtures into a folder, one path a line, for the desktop's test.
#include <cstdio>

#include "ThumbnailFixtures.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: write-thumbnail-fixtures FOLDER\n", stderr);
    return 2;
  }
  const auto fixtures = pictarix::testing::WriteThumbnailFixtures(argv[1]);
  std::printf("%s\n%s\n%s\n", fixtures.Module.c_str(), fixtures.Library.c_str(),
              fixtures.Program16.c_str());
  return 0;
}
