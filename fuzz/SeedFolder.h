#pragma once
// The one argument of every seed writer: the folder its seeds go to.
#include <cstdio>
#include <filesystem>
#include <optional>

// The folder named by the only argument, created when missing; nothing, after the usage line on
// stderr, for any other arguments.
inline std::optional<std::filesystem::path> SeedFolder(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return std::nullopt;
  }
  std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  return folder;
}
