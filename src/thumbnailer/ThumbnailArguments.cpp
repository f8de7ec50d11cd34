#include "thumbnailer/ThumbnailArguments.h"

#include <charconv>

namespace pictarix::thumbnailer {
namespace {

std::optional<int> HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return std::nullopt;
}

std::optional<std::string> PercentDecoded(std::string_view text) {
  std::string decoded;
  decoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      decoded += text[i];
      continue;
    }
    if (text.size() - i < 3) return std::nullopt;
    const auto high = HexDigit(text[i + 1]);
    const auto low = HexDigit(text[i + 2]);
    if (!high || !low) return std::nullopt;
    const char byte = static_cast<char>(*high * 16 + *low);
    // A NUL would cut the path short when it reaches the system.
    if (byte == '\0') return std::nullopt;
    decoded += byte;
    i += 2;
  }
  return decoded;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// Whether the text begins with a URI scheme and "://" ("http://", "smb://", "sftp://"): a
// file manager's name for something that is no local file, not a relative path.
bool HasUriScheme(std::string_view text) {
  const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  const auto colon = text.find("://");
  if (colon == std::string_view::npos || colon == 0 || !isLetter(text[0])) return false;
  for (const char c : text.substr(0, colon)) {
    if (!isLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

std::optional<int> SizeValue(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || last != end || value < 1 || value > kMaxSize) return std::nullopt;
  return value;
}

}  // namespace

std::optional<std::filesystem::path> InputPath(std::string_view text) {
  if (text.empty()) return std::nullopt;
  if (!StartsWithNoCase(text, "file:")) {
    if (HasUriScheme(text)) return std::nullopt;
    return std::filesystem::path(text);
  }
  text.remove_prefix(5);
  if (text.substr(0, 2) != "//") return std::nullopt;
  text.remove_prefix(2);
  const auto slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view host = text.substr(0, slash);
  if (!host.empty() && !(host.size() == 9 && StartsWithNoCase(host, "localhost")))
    return std::nullopt;
  text.remove_prefix(slash);
  // A query or fragment is no part of a local file's name.
  text = text.substr(0, text.find_first_of("?#"));
  auto decoded = PercentDecoded(text);
  if (!decoded) return std::nullopt;
  return std::filesystem::path(*decoded);
}

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
  if (args.size() == 1 && args[0] == "--help") return {{}, {}, ParsedArguments::Request::Help};
  if (args.size() == 1 && args[0] == "--version")
    return {{}, {}, ParsedArguments::Request::Version};
  ThumbnailArguments arguments;
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      positional.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "-s") {
      if (i + 1 >= args.size()) return {std::nullopt, "-s needs a size"};
      const auto size = SizeValue(args[++i]);
      if (!size) return {std::nullopt, "the size must be a whole number from 1 to 4096"};
      arguments.Size = *size;
    } else {
      return {std::nullopt, "unknown option " + arg};
    }
  }
  if (positional.size() != 2) return {std::nullopt, "an input and an output are needed"};
  const auto input = InputPath(positional[0]);
  if (!input) return {std::nullopt, "not a local file: " + positional[0]};
  if (positional[1].empty()) return {std::nullopt, "the output needs a name"};
  arguments.Input = *input;
  arguments.Output = positional[1];
  return {arguments, {}};
}

}  // namespace pictarix::thumbnailer
