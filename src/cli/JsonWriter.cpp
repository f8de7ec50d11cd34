#include "cli/JsonWriter.h"

#include "imaging/RgbaPicture.h"
#include "model/Animation.h"
#include "os/CodePage.h"

namespace pictarix::cli {

namespace {

// "\uXXXX" for a UTF-16 code unit.
void AppendUnicodeEscape(std::string& out, unsigned unit) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(unit >> shift) & 0xF];
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (std::size_t at = 0; at < text.size();) {
    const char c = text[at];
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      const Utf8Step step = DecodeUtf8(text, at);
      if (step.Valid) {
        out.append(text, at, step.Length);
      } else {
        // Surrogate escapes: a reader gives the bytes back (Python's os.fsencode).
        for (std::size_t i = at; i < at + step.Length; ++i)
          AppendUnicodeEscape(out, 0xDC00u + static_cast<unsigned char>(text[i]));
      }
      at += step.Length;
      continue;
    }
    ++at;
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
          AppendUnicodeEscape(out, byte);
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

const char* KindName(EntryKind kind) {
  switch (kind) {
    case EntryKind::Cursor:
      return "cursor";
    case EntryKind::Animated:
      return "animated";
    default:
      return "icon";
  }
}

namespace {

std::string JsonImages(const IconImageList& images) {
  std::string text = "[";
  for (int i = 0; i < images.Count(); ++i) {
    const IconImage* image = images.Get(i);
    const ImageShape real = RealImageShape(*image);
    if (i > 0) text += ", ";
    text += "{\"width\": " + std::to_string(real.Width);
    text += ", \"height\": " + std::to_string(real.Height);
    text += ", \"bits\": " + std::to_string(real.Bits);
    text += IsPngImage(*image) ? ", \"png\": true" : ", \"png\": false";
    // The directory fields exactly as held, which the window and the icon files use.
    text += ", \"stored\": {\"width\": " + std::to_string(int{image->Width});
    text += ", \"height\": " + std::to_string(int{image->Height});
    text += ", \"colors\": " + std::to_string(image->ColorCount);
    text += ", \"planes\": " + std::to_string(image->Planes);
    text += ", \"bits\": " + std::to_string(image->BitCount);
    text += ", \"bytes\": " + std::to_string(image->BytesInRes) + "}";
    if (image->Hotspot) {
      text += ", \"hotspot\": [" + std::to_string(image->Hotspot->X) + ", " +
              std::to_string(image->Hotspot->Y) + "]";
    }
    text += "}";
  }
  return text + "]";
}

std::string JsonAnimation(const Animation& animation) {
  std::string text = ", \"frames\": [";
  for (std::size_t i = 0; i < animation.Frames.size(); ++i) {
    if (i > 0) text += ", ";
    text += "{\"images\": " + JsonImages(animation.Frames[i]->Images) + "}";
  }
  text += "], \"steps\": [";
  for (std::size_t i = 0; i < animation.Steps.size(); ++i) {
    if (i > 0) text += ", ";
    text += "{\"frame\": " + std::to_string(animation.Steps[i].Frame) +
            ", \"jiffies\": " + std::to_string(animation.Steps[i].Jiffies) + "}";
  }
  text += "]";
  if (!animation.Title.empty()) text += ", \"title\": " + JsonString(animation.Title);
  if (!animation.Author.empty()) text += ", \"author\": " + JsonString(animation.Author);
  return text;
}

}  // namespace

std::string JsonEntry(int index, const ListEntry& entry, bool withKind) {
  const AdvancedIcon& icon = *entry.Icon;
  std::string text = "{\"index\": " + std::to_string(index) +
                     ", \"file\": " + JsonString(entry.File.string()) +
                     ", \"name\": " + JsonString(entry.Caption);
  if (withKind || icon.Kind != EntryKind::Icon) {
    text += ", \"kind\": \"" + std::string(KindName(icon.Kind)) + "\"";
  }
  text +=
      ", \"tile\": " + std::to_string(entry.TileImage) + ", \"images\": " + JsonImages(icon.Images);
  if (icon.Frames) text += JsonAnimation(*icon.Frames);
  text += "}";
  return text;
}

}  // namespace pictarix::cli
