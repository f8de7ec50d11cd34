#pragma once
// One exception family for the whole core: callers catch PictarixError to skip a file.
#include <stdexcept>
#include <string>

namespace pictarix {

class PictarixError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reading or writing a stream failed (short read where one is not allowed, write error).
class StreamError : public PictarixError {
 public:
  using PictarixError::PictarixError;
};

// "Cannot open file "%s". %s"
class FOpenError : public StreamError {
 public:
  using StreamError::StreamError;
};

// "Cannot create file "%s". %s"
class FCreateError : public StreamError {
 public:
  using StreamError::StreamError;
};

// A module resource that is not there, or cannot be fetched.
class ResNotFound : public PictarixError {
 public:
  using PictarixError::PictarixError;
};

// Data whose stated size cannot be true (larger than the whole file): refused, never allocated.
class FormatError : public PictarixError {
 public:
  using PictarixError::PictarixError;
};

// The system's text for errno `error`.
std::string SystemErrorText(int error);

}  // namespace pictarix
