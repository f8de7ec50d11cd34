#pragma once
// One exception family for the whole core: callers catch EPictarixError to skip a file.
#include <stdexcept>
#include <string>

namespace pictarix {

class EPictarixError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reading or writing a stream failed (short read where one is not allowed, write error).
class EStreamError : public EPictarixError {
 public:
  using EPictarixError::EPictarixError;
};

// "Cannot open file "%s". %s"
class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

// "Cannot create file "%s". %s"
class EFCreateError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

// A module resource that is not there, or cannot be fetched.
class EResNotFound : public EPictarixError {
 public:
  using EPictarixError::EPictarixError;
};

// Data whose stated size cannot be true (larger than the whole file): refused, never allocated.
class EFormatError : public EPictarixError {
 public:
  using EPictarixError::EPictarixError;
};

// The system's text for errno `error`.
std::string SystemErrorText(int error);

}  // namespace pictarix
