#pragma once
// The errors of reading and writing icon libraries and modules.
#include "os/Errors.h"

namespace pictarix {

// Format errors of the icon-library subsystem and its two save limits. The message says why a
// file could not be read.
class IconLibraryError : public PictarixError {
 public:
  using PictarixError::PictarixError;
};

// A group names an icon image that the file does not hold.
class IconImageMissing : public IconLibraryError {
 public:
  IconImageMissing() : IconLibraryError("Icon Resource Not Found") {}
};

}  // namespace pictarix
