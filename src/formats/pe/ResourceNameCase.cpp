#include "formats/pe/ResourceNameCase.h"

namespace pictarix {

char16_t FoldResourceNameChar(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) return static_cast<char16_t>(c - 0x20);
  if (c == 0x00FF) return 0x0178;
  return c;
}

}  // namespace pictarix
