#pragma once
// Names shown on a terminal or in line-based output: control characters made visible, so a
// name never spreads over two lines, reaches a terminal as a control sequence, or turns the
// text around it.
#include <string>
#include <string_view>

namespace pictarix {

// Whether a character is never shown raw: C0 controls, DEL, C1 controls (U+0080..U+009F), and
// the bidi and line-separator characters (U+202A..U+202E, U+2066..U+2069, U+2028, U+2029).
bool IsHiddenControl(char32_t c);

// `text` (UTF-8) with newline as "\n", tab as "\t", every other C0 control and DEL as "\xHH",
// the backslash as "\\", C1 controls and the bidi and line-separator characters as "\u{HHHH}"
// (upper-case hex); all other characters unchanged. Bytes that are not valid UTF-8 become
// U+FFFD as in SanitizeUtf8, except a stray byte 0x80..0x9F, which a terminal reading 8-bit
// text takes for a C1 control: it is shown as "\xHH".
std::string EscapeControlChars(std::string_view text);

}  // namespace pictarix
