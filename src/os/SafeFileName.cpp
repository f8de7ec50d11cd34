#include "os/SafeFileName.h"

#include <algorithm>

#include "os/CodePage.h"
#include "os/EscapedText.h"

namespace pictarix {

namespace {

constexpr std::string_view kFallback = "icon";

bool Unsafe(char32_t c) {
  // Beyond what a terminal hides: the marks that turn text around, and what stood for bytes
  // that were not UTF-8.
  return IsHiddenControl(c) || c == 0x200E || c == 0x200F || c == 0x061C || c == 0xFFFD ||
         std::u32string_view(U"/\\:*?\"<>|").find(c) != std::u32string_view::npos;
}

}  // namespace

std::string SafeFileStem(std::string_view text, std::size_t maxBytes) {
  std::string name;
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Step step = DecodeUtf8(text, at);
    const std::string_view c = text.substr(at, step.Length);
    const std::size_t bytes = c.size();
    at += bytes;
    const bool unsafe = !step.Valid || Unsafe(step.Char);
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
