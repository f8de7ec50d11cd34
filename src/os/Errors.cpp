#include "os/Errors.h"

#include <system_error>

namespace pictarix {

std::string SystemErrorText(int error) {
  return std::generic_category().message(error);
}

}  // namespace pictarix
