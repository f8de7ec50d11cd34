#pragma once
// One icon: an ordered list of images. Icon files and group-icon resources are read into it by
// model/IconFileReader.h and model/GroupIconReader.h, and it is written by
// model/IconFileWriter.h.
#include "model/IconImageList.h"

namespace pictarix {

class TAdvancedIcon {
 public:
  TAdvancedIcon() = default;
  virtual ~TAdvancedIcon() = default;
  TAdvancedIcon(const TAdvancedIcon&) = delete;
  TAdvancedIcon& operator=(const TAdvancedIcon&) = delete;

  // Becomes a deep copy of `source` (images of class TIconImage, never decoded).
  virtual void Assign(const TAdvancedIcon& source);

  TIconImageList Images;
};

}  // namespace pictarix
