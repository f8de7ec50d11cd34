#pragma once
// One icon: an ordered list of images. Icon files and group-icon resources are read into it by
// model/IconFileReader.h and model/GroupIconReader.h, and it is written by
// model/IconFileWriter.h.
#include "model/IconImageList.h"

namespace pictarix {

class AdvancedIcon {
 public:
  AdvancedIcon() = default;
  virtual ~AdvancedIcon() = default;
  AdvancedIcon(const AdvancedIcon&) = delete;
  AdvancedIcon& operator=(const AdvancedIcon&) = delete;

  // Becomes a deep copy of `source` (images of class IconImage, never decoded).
  virtual void Assign(const AdvancedIcon& source);

  IconImageList Images;
};

}  // namespace pictarix
