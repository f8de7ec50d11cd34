#include "os/EscapedText.h"

#include "os/CodePage.h"

namespace pictarix {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHexByte(std::string& out, unsigned byte) {
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

void AppendCodePoint(std::string& out, char32_t c) {
  out += "\\u{";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
  out += '}';
}

}  // namespace

bool IsHiddenControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069) || c == 0x2028 || c == 0x2029;
}

std::string EscapeControlChars(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      ++at;
      if (byte == '\\') {
        out += "\\\\";
      } else if (byte == '\n') {
        out += "\\n";
      } else if (byte == '\t') {
        out += "\\t";
      } else if (IsHiddenControl(byte)) {
        AppendHexByte(out, byte);
      } else {
        out += static_cast<char>(byte);
      }
      continue;
    }
    const Utf8Step step = DecodeUtf8(text, at);
    if (!step.Valid) {
      if (step.Length == 1 && byte <= 0x9F) {
        AppendHexByte(out, byte);
      } else {
        out += "\xEF\xBF\xBD";  // U+FFFD
      }
    } else if (IsHiddenControl(step.Char)) {
      AppendCodePoint(out, step.Char);
    } else {
      out.append(text, at, step.Length);
    }
    at += step.Length;
  }
  return out;
}

}  // namespace pictarix
