#pragma once
// The thumbnailer's command line: [-s SIZE] INPUT OUTPUT, where INPUT is a path or a file:// URI;
// or --help, or --version, alone.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pictarix::thumbnailer {

constexpr int kDefaultSize = 256;
constexpr int kMaxSize = 4096;

struct ThumbnailArguments {
  int Size = kDefaultSize;  // the longest side wanted
  std::filesystem::path Input;
  std::filesystem::path Output;
};

struct ParsedArguments {
  enum class Request { Thumbnail, Help, Version };
  std::optional<ThumbnailArguments> Arguments;  // nothing on bad usage, --help and --version
  std::string Error;
  Request Asked = Request::Thumbnail;
};

inline constexpr const char* kUsage =
    "Usage: pictarix-thumbnailer [-s SIZE] INPUT OUTPUT\n"
    "       pictarix-thumbnailer --help | --version\n"
    "Writes the first icon of INPUT (a path or a file:// URI) as a PNG picture OUTPUT whose\n"
    "longest side is at most SIZE pixels (1 to 4096, default 256).\n";

ParsedArguments ParseArguments(const std::vector<std::string>& args);

// The local path a file:// URI names (percent escapes decoded; an empty host or "localhost"
// only); text without a URI scheme is a path as it stands. Nothing for a malformed or non-local
// file:// URI, nor for a URI of any other scheme (http://, smb://, ...).
std::optional<std::filesystem::path> InputPath(std::string_view text);

}  // namespace pictarix::thumbnailer
