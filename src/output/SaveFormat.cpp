#include "output/SaveFormat.h"

#include <array>
#include <string_view>

namespace pictarix {

namespace {

// Where the last path component begins: after the last folder separator ("\" and ":" also
// separate on Windows).
template <typename Char>
std::size_t ComponentStart(std::basic_string_view<Char> name) {
#ifdef _WIN32
  constexpr Char kSeparators[] = {Char('\\'), Char('/'), Char(':'), Char(0)};
#else
  constexpr Char kSeparators[] = {Char('/'), Char(0)};
#endif
  const std::size_t separator = name.find_last_of(kSeparators);
  return separator == std::basic_string_view<Char>::npos ? 0 : separator + 1;
}

// Position of the extension's dot, or npos when the last component has none.
template <typename Char>
std::size_t ExtStart(std::basic_string_view<Char> name) {
  const std::size_t dot = name.find_last_of(Char('.'));
  if (dot == std::basic_string_view<Char>::npos || dot < ComponentStart(name)) {
    return std::basic_string_view<Char>::npos;
  }
  return dot;
}

struct KnownExt {
  std::string_view Ext;
  SaveFormat Format;
};

// In the order they are tried.
constexpr std::array<KnownExt, 8> kKnownExts{{{".ico", SaveFormat::Icon},
                                              {".gif", SaveFormat::Gif},
                                              {".bmp", SaveFormat::Bitmap},
                                              {".png", SaveFormat::Png},
                                              {".jpg", SaveFormat::Jpeg},
                                              {".jpeg", SaveFormat::Jpeg},
                                              {".cur", SaveFormat::Cursor},
                                              {".ani", SaveFormat::AnimatedCursor}}};

template <typename Char>
bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    Char c = text[i];
    if (c >= Char('A') && c <= Char('Z')) c = static_cast<Char>(c - Char('A') + Char('a'));
    if (c != static_cast<Char>(lower[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<SaveFormat> FormatFromExt(const std::filesystem::path& fileName) {
  using Char = std::filesystem::path::value_type;
  const std::basic_string_view<Char> name = fileName.native();
  const std::size_t dot = ExtStart(name);
  if (dot == std::basic_string_view<Char>::npos) return std::nullopt;
  const std::basic_string_view<Char> ext = name.substr(dot);
  for (const KnownExt& known : kKnownExts) {
    if (EqualsIgnoringAsciiCase(ext, known.Ext)) return known.Format;
  }
  return std::nullopt;
}

std::string ExtFromFormat(SaveFormat format) {
  switch (format) {
    case SaveFormat::Icon:
      return ".ico";
    case SaveFormat::Gif:
      return ".gif";
    case SaveFormat::Bitmap:
      return ".bmp";
    case SaveFormat::Jpeg:
      return ".jpg";
    case SaveFormat::Png:
      return ".png";
    case SaveFormat::Cursor:
      return ".cur";
    case SaveFormat::AnimatedCursor:
      return ".ani";
  }
  return {};
}

std::filesystem::path ReplaceExt(const std::filesystem::path& fileName, const std::string& ext) {
  using String = std::filesystem::path::string_type;
  const String& name = fileName.native();
  const std::size_t dot = ExtStart(std::basic_string_view<String::value_type>(name));
  const String stem = dot == String::npos ? name : name.substr(0, dot);
  return std::filesystem::path(stem) += std::filesystem::path(ext).native();
}

}  // namespace pictarix
