#pragma once
// A picture that cannot be encoded (bad size, encoder failure); no bytes are produced.
#include "os/Errors.h"

namespace pictarix {

class EPictureError : public EPictarixError {
 public:
  using EPictarixError::EPictarixError;
};

}  // namespace pictarix
