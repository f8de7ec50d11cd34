#pragma once
// Text conversions at the edges of the system. In memory, text is UTF-8; the only 8-bit code page
// is Windows-1252, used for the names stored in icon libraries.
#include <cstddef>
#include <string>
#include <string_view>

namespace pictarix {

// Windows-1252 bytes to UTF-8. Total and reversible: the five bytes Windows leaves unassigned
// (0x81 0x8D 0x8F 0x90 0x9D) become U+0081 etc., so a name read from a library is written back
// byte for byte.
std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; every character outside the code page (and every invalid UTF-8
// sequence) becomes "?".
std::string Utf8ToWindows1252(std::string_view utf8);

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

// One character decoded from UTF-8. An invalid sequence is its longest valid prefix, or a single
// byte (Valid false, Char U+FFFD), so that decoding step by step always ends.
struct Utf8Step {
  char32_t Char = 0;
  std::size_t Length = 1;  // bytes taken, at least one
  bool Valid = false;
};

// The character that begins at `at` (which must be less than bytes.size()).
Utf8Step DecodeUtf8(std::string_view bytes, std::size_t at);

// Valid UTF-8 as it stands; each invalid sequence (its longest valid prefix, or a single byte)
// becomes U+FFFD.
std::string SanitizeUtf8(std::string_view bytes);

}  // namespace pictarix
