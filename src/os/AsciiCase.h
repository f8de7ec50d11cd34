#pragma once
// Names that Windows compares without regard to case (setup file keys, file names of a cursor
// scheme): ASCII letters fold, every other byte stays as it is.
#include <string>
#include <string_view>

namespace pictarix {

inline char FoldAsciiCase(char c) {
  return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

inline bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  }
  return true;
}

inline std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = FoldAsciiCase(c);
  return lower;
}

}  // namespace pictarix
