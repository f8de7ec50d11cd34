#pragma once
// The command line of pictarix-cli.
#include <optional>
#include <string>
#include <vector>

namespace pictarix::cli {

enum class Command { List, Save, Icl, Help, Version };

struct CliArguments {
  Command Verb = Command::Help;
  bool All = false;
  bool Json = false;
  bool Add = false;
  std::string Format;   // save: ico, gif, bmp, jpg or png
  std::string Output;   // save: the folder
  std::string Library;  // icl: the library file
  std::vector<std::string> Paths;
};

// The parsed arguments, or the reason they are bad usage.
struct ParseResult {
  std::optional<CliArguments> Arguments;
  std::string Error;
};

ParseResult ParseArguments(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace pictarix::cli
