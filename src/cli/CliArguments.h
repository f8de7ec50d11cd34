#pragma once
// The command line of pictarix-cli.
#include <optional>
#include <string>
#include <vector>

namespace pictarix::cli {

enum class Command { List, Save, Icl, Export, Xcursor, Theme, Help, Version };

struct CliArguments {
  Command Verb = Command::Help;
  bool All = false;
  bool Json = false;
  bool Add = false;
  bool Force = false;              // icl: replace a file that is not an icon library
  bool Verbose = false;            // name every file that could not be read
  bool Cursors = false;            // include cursors (cursor files in folders, modules' cursors)
  bool Largest = false;            // export: the largest image of each entry only
  int Size = 0;                    // export: the image chosen for this size only (0: not asked)
  std::vector<int> Entries;        // export, xcursor: only these entry indexes
  std::vector<std::string> Names;  // export, xcursor: only entries with these captions; theme:
                                   // the theme's name (one)
  std::string Format;              // save: ico, gif, bmp, jpg or png
  std::string Output;              // save, export, xcursor, theme: the folder
  std::string Library;             // icl: the library file
  std::vector<std::string> Paths;
};

// The parsed arguments, or the reason they are bad usage.
struct ParseResult {
  std::optional<CliArguments> Arguments;
  std::string Error;
};

// Options may come before or after the operands; "--" ends them.
ParseResult ParseArguments(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace pictarix::cli
