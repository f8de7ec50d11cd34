#include "formats/inf/InfText.h"

#include <algorithm>

#include "os/AsciiCase.h"
#include "os/ByteCursor.h"
#include "os/CodePage.h"

namespace pictarix {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

// One line's key and fields. Quotes group text (a doubled quote inside them is one quote);
// outside quotes, ";" ends the line, the first "=" before any comma ends the key, "," ends a
// field, and spaces around a field go.
InfLine SplitLine(std::string_view line) {
  InfLine result;
  std::string field;
  std::size_t solid = 0;  // length of `field` up to its last quoted or non-space character
  bool quoted = false;
  bool keyDone = false;
  bool leftOut = false;
  const auto endField = [&] {
    field.resize(solid);
    if (result.Fields.size() < kMaxInfFields) {
      result.Fields.push_back(std::move(field));
    } else {
      leftOut = true;
    }
    field.clear();
    solid = 0;
  };
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
        field += '"';
        solid = field.size();
        ++i;
      } else {
        quoted = !quoted;
      }
      continue;
    }
    if (!quoted && c == ';') break;
    if (!quoted && c == '=' && !keyDone && result.Fields.empty()) {
      keyDone = true;
      field.resize(solid);
      result.Key = std::move(field);
      field.clear();
      solid = 0;
      continue;
    }
    if (!quoted && c == ',') {
      endField();
      continue;
    }
    if (!quoted && IsSpace(c) && field.empty()) continue;
    field += c;
    if (quoted || !IsSpace(c)) solid = field.size();
  }
  endField();
  // A line with nothing in it but its key keeps no empty field.
  if (result.Fields.size() == 1 && result.Fields[0].empty() && !keyDone) result.Fields.clear();
  return result;
}

}  // namespace

void InfText::AddLine(std::string_view line, InfSection*& current) {
  const std::string_view text = Trim(line);
  if (text.empty() || text.front() == ';') return;
  if (text.front() == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return;  // not a section header; ignored
    const std::string_view name = Trim(text.substr(1, close - 1));
    current = nullptr;
    for (InfSection& section : sections_) {
      if (SameIgnoringAsciiCase(section.Name, name)) current = &section;
    }
    if (current == nullptr) {
      sections_.push_back(InfSection{std::string(name), {}});
      current = &sections_.back();
    }
    return;
  }
  if (current == nullptr) return;  // lines before the first section belong to none
  if (lineCount_ >= kMaxInfLines) {
    leftOut_ = true;
    return;
  }
  InfLine parsed = SplitLine(text);
  if (parsed.Key.empty() && parsed.Fields.empty()) return;
  current->Lines.push_back(std::move(parsed));
  ++lineCount_;
}

InfText InfText::Parse(std::string_view utf8) {
  InfText inf;
  const std::string text = SanitizeUtf8(utf8);
  InfSection* current = nullptr;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string_view line(text.data() + start, end - start);
    if (line.size() > kMaxInfLineBytes) {
      inf.leftOut_ = true;
    } else {
      inf.AddLine(line, current);
    }
    start = end + 1;
  }
  inf.IndexStrings();
  return inf;
}

void InfText::IndexStrings() {
  const InfSection* strings = FindSection("Strings");
  if (strings == nullptr) return;
  for (const InfLine& line : strings->Lines) {
    if (line.Key.empty()) continue;
    std::string value;
    for (std::size_t i = 0; i < line.Fields.size(); ++i) {
      if (i > 0) value += ',';
      value += line.Fields[i];
    }
    strings_.emplace(LowerAscii(line.Key), std::move(value));
  }
}

const InfSection* InfText::FindSection(std::string_view name) const {
  for (const InfSection& section : sections_) {
    if (SameIgnoringAsciiCase(section.Name, name)) return &section;
  }
  return nullptr;
}

std::optional<std::string> InfText::FindString(std::string_view key) const {
  const auto found = strings_.find(LowerAscii(key));
  if (found == strings_.end()) return std::nullopt;
  return found->second;
}

std::string InfText::Expand(std::string_view text) const {
  std::string out;
  std::size_t i = 0;
  while (i < text.size() && out.size() < kMaxExpandedBytes) {
    const std::size_t open = text.find('%', i);
    const std::size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
    if (close == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    out.append(text.substr(i, open - i));
    const std::string_view name = text.substr(open + 1, close - open - 1);
    const std::optional<std::string> value =
        name.empty() ? std::optional<std::string>("%") : FindString(name);
    out.append(value ? *value : std::string(text.substr(open, close - open + 1)));
    i = close + 1;
  }
  if (out.size() > kMaxExpandedBytes) out.resize(kMaxExpandedBytes);
  return out;
}

std::string DecodeInfBytes(std::span<const std::uint8_t> bytes) {
  ByteCursor cursor(bytes);
  const auto b0 = cursor.U8At(0);
  const auto b1 = cursor.U8At(1);
  const bool little = b0 == 0xFF && b1 == 0xFE;
  if (little || (b0 == 0xFE && b1 == 0xFF)) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    cursor.Skip(2);
    std::uint16_t unit = 0;
    while (cursor.ReadU16(unit)) {  // ByteCursor reads little endian
      units.push_back(char16_t(little ? unit : std::uint16_t((unit >> 8) | (unit << 8))));
    }
    return Utf16ToUtf8(units);
  }
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (text.starts_with("\xEF\xBB\xBF")) return SanitizeUtf8(text.substr(3));
  for (std::size_t at = 0; at < text.size();) {
    const Utf8Step step = DecodeUtf8(text, at);
    if (!step.Valid) return Windows1252ToUtf8(text);
    at += step.Length;
  }
  return std::string(text);
}

InfText ReadInfText(std::span<const std::uint8_t> bytes) {
  const bool cut = bytes.size() > kMaxInfBytes;
  InfText inf = InfText::Parse(DecodeInfBytes(bytes.first(std::min(bytes.size(), kMaxInfBytes))));
  if (cut) inf.leftOut_ = true;
  return inf;
}

}  // namespace pictarix
