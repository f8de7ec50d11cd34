#pragma once
// Files of every kind the thumbnailer serves, each with a red square as its first icon: a PE
// module whose first group has no images and whose second has only a 48x48 one, an icon library
// whose first icon is 256x256, and a 16-bit program whose first icon is 32x32.
#include <filesystem>

namespace pictarix::testing {

struct ThumbnailFixtures {
  std::filesystem::path Module;  // empty without the MinGW tools
  std::filesystem::path Library;
  std::filesystem::path Program16;
};

ThumbnailFixtures WriteThumbnailFixtures(const std::filesystem::path& folder);

}  // namespace pictarix::testing
