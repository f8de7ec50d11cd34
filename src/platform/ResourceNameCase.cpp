#include "platform/ResourceNameCase.h"

#include <algorithm>

namespace pictarix {

char16_t FoldResourceNameChar(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) return static_cast<char16_t>(c - 0x20);
  if (c == 0x00FF) return 0x0178;
  return c;
}

bool ResourceNamesMatch(std::u16string_view a, std::u16string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char16_t x, char16_t y) {
    return FoldResourceNameChar(x) == FoldResourceNameChar(y);
  });
}

}  // namespace pictarix
