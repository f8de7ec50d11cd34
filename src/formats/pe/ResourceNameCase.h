#pragma once
// Case-insensitive resource names as the platform's resource lookup treats them: both names
// are folded to upper case, character by character, and then compared exactly.

namespace pictarix {

// Upper-case folding of one UTF-16 unit: ASCII a-z, the Latin-1 letters U+00E0-U+00FE (not
// the division sign U+00F7) and U+00FF (to U+0178). Every other unit stays as it is.
char16_t FoldResourceNameChar(char16_t c);

}  // namespace pictarix
