#pragma once
// Names shown on a terminal or in line-based output: control characters made visible, so a
// name never spreads over two lines or reaches a terminal as a control sequence.
#include <string>
#include <string_view>

namespace pictarix {

// `text` with newline as "\n", tab as "\t", every other byte below 0x20 and 0x7F as "\xHH"
// (upper-case hex), and the backslash as "\\"; all other bytes unchanged.
std::string EscapeControlChars(std::string_view text);

}  // namespace pictarix
