#include "support/TempDir.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace pictarix::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pictarix-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code error;
  // Restore permissions a test may have taken away so everything can be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, error);
       !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    if (!it->is_symlink()) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, error);
    }
  }
  std::filesystem::remove_all(path_, error);
}

}  // namespace pictarix::testing
