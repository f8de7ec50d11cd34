#include "capi/LibraryHost.h"

namespace pictarix::capi {

void LibraryHost::FileUnreadable(const std::filesystem::path& path, const std::string& reason) {
  if (path == argument_) {
    argumentFailure_ = path.string() + ": " + reason;
  } else {
    ++unreadable_;
  }
}

}  // namespace pictarix::capi
