#pragma once
// A picture that cannot be encoded (bad size, encoder failure); no bytes are produced.
#include "os/Errors.h"

namespace pictarix {

class PictureError : public PictarixError {
 public:
  using PictarixError::PictarixError;
};

}  // namespace pictarix
