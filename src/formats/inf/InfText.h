#pragma once
// The text of a Windows setup information file (.inf), as cursor packs ship one: sections of
// lines, each line an optional key before "=" and comma-separated fields, where %name% stands
// for a value of the [Strings] section. The file is read only as far as its limits allow;
// whatever lies past them is left out, and nothing in it is trusted (counts, lengths, nesting).
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pictarix {

// The limits of what is read. Such files are a few kilobytes; these are far past any real one.
inline constexpr std::size_t kMaxInfBytes = 1 << 20;       // of the file; the rest is left out
inline constexpr std::size_t kMaxInfLineBytes = 4096;      // a longer line is left out whole
inline constexpr std::size_t kMaxInfLines = 20000;         // lines kept, over all sections
inline constexpr std::size_t kMaxInfFields = 64;           // fields of one line; the rest go
inline constexpr std::size_t kMaxExpandedBytes = 1 << 16;  // of one %name% expansion

struct InfLine {
  std::string Key;                  // before "=", unquoted; empty when the line has no "="
  std::vector<std::string> Fields;  // split at commas outside quotes, unquoted and trimmed
};

struct InfSection {
  std::string Name;  // as first written; sections of the same name are one section
  std::vector<InfLine> Lines;
};

class InfText {
 public:
  // Text in UTF-8 (invalid sequences become U+FFFD).
  static InfText Parse(std::string_view utf8);

  const std::vector<InfSection>& Sections() const { return sections_; }
  // The section of that name, compared without regard to ASCII case.
  const InfSection* FindSection(std::string_view name) const;
  // The value of `key` in [Strings] (the first line of that key; its fields joined by ",").
  std::optional<std::string> FindString(std::string_view key) const;
  // `text` with each %name% replaced by its [Strings] value and "%%" by "%", in one pass: a
  // value is not expanded again, so values naming each other cannot loop. An unknown %name%
  // stays as written. The result is cut at kMaxExpandedBytes.
  std::string Expand(std::string_view text) const;
  // True when a limit left part of the file out.
  bool LeftOut() const { return leftOut_; }

 private:
  friend InfText ReadInfText(std::span<const std::uint8_t> bytes);
  void AddLine(std::string_view line, InfSection*& current);
  void IndexStrings();

  std::vector<InfSection> sections_;
  std::map<std::string, std::string> strings_;  // [Strings], keys in lower case, first kept
  std::size_t lineCount_ = 0;
  bool leftOut_ = false;
};

// The bytes of a file as UTF-8 text: UTF-16 (little or big endian) with its byte order mark,
// UTF-8 with or without one, and anything that is not valid UTF-8 as Windows-1252.
std::string DecodeInfBytes(std::span<const std::uint8_t> bytes);

// DecodeInfBytes then InfText::Parse, the file cut at kMaxInfBytes (LeftOut then true).
InfText ReadInfText(std::span<const std::uint8_t> bytes);

}  // namespace pictarix
