#include "platform/SafeFileName.h"

#include <algorithm>

#include "platform/CodePage.h"

namespace pictarix {

namespace {

constexpr std::string_view kFallback = "icon";

// Bytes of the UTF-8 character that begins with `lead` (the text is valid UTF-8).
std::size_t CharBytes(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead < 0xE0) return 2;
  if (lead < 0xF0) return 3;
  return 4;
}

char32_t Decode(std::string_view c) {
  const auto lead = static_cast<unsigned char>(c[0]);
  if (c.size() == 1) return lead;
  char32_t value = lead & (0x7F >> c.size());
  for (std::size_t i = 1; i < c.size(); ++i) value = (value << 6) | (c[i] & 0x3F);
  return value;
}

bool Unsafe(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069) || c == 0x2028 || c == 0x2029 || c == 0x200E || c == 0x200F ||
         c == 0x061C || c == 0xFFFD ||
         std::u32string_view(U"/\\:*?\"<>|").find(c) != std::u32string_view::npos;
}

}  // namespace

std::string SafeFileStem(std::string_view text, std::size_t maxBytes) {
  const std::string valid = SanitizeUtf8(text);  // every invalid byte is U+FFFD from here
  std::string name;
  for (std::size_t at = 0; at < valid.size();) {
    const std::size_t bytes =
        std::min(CharBytes(static_cast<unsigned char>(valid[at])), valid.size() - at);
    const std::string_view c(valid.data() + at, bytes);
    at += bytes;
    const bool unsafe = Unsafe(Decode(c));
    if (name.empty() && !unsafe && (c == "." || c == " ")) continue;  // hidden or blank start
    if (name.size() + (unsafe ? 1 : bytes) > maxBytes) break;
    name += unsafe ? std::string_view("_") : c;
  }
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name.empty()) return std::string(kFallback.substr(0, maxBytes));
  return name;
}

std::string SafeFileName(std::string_view text, std::string_view suffix) {
  const std::size_t room =
      kMaxFileNameBytes > suffix.size() ? kMaxFileNameBytes - suffix.size() : 1;
  return SafeFileStem(text, room) + std::string(suffix);
}

}  // namespace pictarix
