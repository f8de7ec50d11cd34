#include "cli/JsonWriter.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/CodePage.h"

namespace pictarix::cli {

namespace {

bool StartsWithPngSignature(const std::vector<std::uint8_t>& bytes) {
  static constexpr std::array<std::uint8_t, 8> kSignature{0x89, 0x50, 0x4E, 0x47,
                                                          0x0D, 0x0A, 0x1A, 0x0A};
  return bytes.size() >= kSignature.size() &&
         std::equal(kSignature.begin(), kSignature.end(), bytes.begin());
}

// Whether every byte is ASCII, so that the text is valid UTF-8 as it stands.
bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string JsonString(const std::string& text) {
  const std::string valid = IsAscii(text) ? text : SanitizeUtf8(text);
  std::string out;
  out.reserve(valid.size() + 2);
  out += '"';
  for (const char c : valid) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      default:
        if (byte < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

void WriteJsonEntry(std::ostream& out, int index, const TListEntry& entry) {
  // Built as one text and written at once: the stream's per-piece cost dominates otherwise.
  std::string text = "{\"index\": " + std::to_string(index) +
                     ", \"file\": " + JsonString(entry.File.string()) +
                     ", \"name\": " + JsonString(entry.Caption) +
                     ", \"tile\": " + std::to_string(entry.TileImage) + ", \"images\": [";
  const TIconImageList& images = entry.Icon->Images;
  for (int i = 0; i < images.Count(); ++i) {
    const TIconImage* image = images.Get(i);
    if (i > 0) text += ", ";
    text += "{\"width\": " + std::to_string(int{image->Width});
    text += ", \"height\": " + std::to_string(int{image->Height});
    text += ", \"colors\": " + std::to_string(image->ColorCount);
    text += ", \"planes\": " + std::to_string(image->Planes);
    text += ", \"bits\": " + std::to_string(image->BitCount);
    text += ", \"bytes\": " + std::to_string(image->BytesInRes);
    text += StartsWithPngSignature(image->Bytes()) ? ", \"png\": true}" : ", \"png\": false}";
  }
  text += "]}";
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

}  // namespace pictarix::cli
