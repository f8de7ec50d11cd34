#pragma once
// The edge of the C interface: no exception crosses it, and bytes leave it in malloc'd buffers.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "pictarix.h"

namespace pictarix::capi {

// Runs `call` (which returns a status); an exception becomes a status, its text `message`.
template <typename Call>
int Guarded(std::string* message, Call&& call) noexcept {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    if (message) *message = "out of memory";
    return PICTARIX_NO_MEMORY;
  } catch (const std::exception& error) {
    try {
      if (message) *message = error.what();
    } catch (...) {
    }
    return PICTARIX_ERROR;
  } catch (...) {
    return PICTARIX_ERROR;
  }
}

// A malloc'd copy of `bytes` for the caller to free with pictarix_free; null when out of memory.
unsigned char* CopyOut(const std::vector<std::uint8_t>& bytes);
// A malloc'd C string; null when out of memory.
char* CopyOut(const std::string& text);

}  // namespace pictarix::capi
