#include "capi/Boundary.h"

#include <cstdlib>
#include <cstring>

namespace pictarix::capi {

unsigned char* CopyOut(const std::vector<std::uint8_t>& bytes) {
  auto* out = static_cast<unsigned char*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
  if (out && !bytes.empty()) std::memcpy(out, bytes.data(), bytes.size());
  return out;
}

char* CopyOut(const std::string& text) {
  auto* out = static_cast<char*>(std::malloc(text.size() + 1));
  if (out) std::memcpy(out, text.c_str(), text.size() + 1);
  return out;
}

}  // namespace pictarix::capi
