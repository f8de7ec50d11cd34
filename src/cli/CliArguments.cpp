#include "cli/CliArguments.h"

#include <charconv>

namespace pictarix::cli {

const char* const kUsage =
    "usage: pictarix-cli list [--all] [--json] [--cursors] PATH...\n"
    "       pictarix-cli save --format ico|gif|bmp|jpg|png|cur|ani --output DIR [--all] PATH...\n"
    "       pictarix-cli icl [--add] [--force] [--all] LIBRARY PATH...\n"
    "       pictarix-cli export --output DIR [--all] [--largest | --size N] [--entry N]...\n"
    "                           [--name NAME]... PATH...\n"
    "       pictarix-cli xcursor --output DIR [--all] [--cursors] [--entry N]...\n"
    "                            [--name NAME]... PATH...\n"
    "       pictarix-cli theme --output DIR [--name NAME] FOLDER\n"
    "       pictarix-cli --help | --version\n"
    "\n"
    "Finds every icon in Windows modules (PE, NE), icon libraries and icon files.\n"
    "  list    print one entry per icon with a 32x32 image (--json: a JSON array)\n"
    "  save    write entry i to DIR/i.EXT (ico: every image; gif: best 8-bit image;\n"
    "          bmp, jpg, png: the 32x32 tile over white; cur: a cursor's images and\n"
    "          hotspots; ani: an animated cursor)\n"
    "  icl     write all entries as one icon library (--add: append to an existing one;\n"
    "          --force: replace a file that is not an icon library)\n"
    "  export  write every image of entry i at its own size, with its transparency, to\n"
    "          DIR/i-WxH-BITS.png (--largest: the largest image only; --size N: the\n"
    "          smallest image of at least N pixels; --entry N, --name NAME: only those);\n"
    "          an animated cursor's frames as DIR/i-fFRAME-WxH-BITS.png, and beside a\n"
    "          cursor's images DIR/i.cursor, the input of xcursorgen\n"
    "  xcursor write each cursor entry as an Xcursor file DIR/CAPTION (every frame,\n"
    "          hotspots and delays; icons are left out)\n"
    "  theme   make the Windows cursor scheme in FOLDER (its .cur and .ani files, its\n"
    "          .inf if any) an Xcursor theme DIR/NAME (NAME: the scheme's or the folder's\n"
    "          name); roles without a cursor are listed; exit 1 when Arrow has none\n"
    "  --all      also icons that have images but no 32x32 image\n"
    "  --verbose  name every file that could not be read\n"
    "  --cursors  also cursors: cursor files in folders and the cursors of modules (a\n"
    "             .cur or .ani file named as a PATH is read either way)\n"
    "Entries are numbered alike in every command. Directories are harvested recursively.\n"
    "Options may follow the PATHs; \"--\" ends the options.\n";

namespace {

ParseResult Bad(std::string error) {
  return ParseResult{std::nullopt, std::move(error)};
}

std::optional<int> Number(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

std::optional<Command> VerbOf(const std::string& word) {
  if (word == "list") return Command::List;
  if (word == "save") return Command::Save;
  if (word == "icl") return Command::Icl;
  if (word == "export") return Command::Export;
  if (word == "xcursor") return Command::Xcursor;
  if (word == "theme") return Command::Theme;
  return std::nullopt;
}

const char* CommandName(Command verb) {
  switch (verb) {
    case Command::Save:
      return "save";
    case Command::Export:
      return "export";
    case Command::Xcursor:
      return "xcursor";
    default:
      return "theme";
  }
}

// The options that take a value, for the commands that have them.
bool TakesValue(Command verb, const std::string& option) {
  if (option == "--output") return verb != Command::List && verb != Command::Icl;
  if (option == "--format") return verb == Command::Save;
  if (option == "--size") return verb == Command::Export;
  if (option == "--entry") return verb == Command::Export || verb == Command::Xcursor;
  if (option == "--name")
    return verb != Command::List && verb != Command::Icl && verb != Command::Save;
  return false;
}

// Stores one option with its value; an error text when the value is bad.
std::string SetValue(CliArguments& result, const std::string& option, const std::string& value) {
  if (option == "--output") {
    result.Output = value;
  } else if (option == "--format") {
    result.Format = value;
  } else if (option == "--name") {
    result.Names.push_back(value);
  } else {
    const auto number = Number(value);
    if (!number || (option == "--size" && *number == 0))
      return option + " needs a " + (option == "--size" ? "positive" : "non-negative") +
             " whole number";
    if (option == "--size") {
      result.Size = *number;
    } else {
      result.Entries.push_back(*number);
    }
  }
  return {};
}

// Whether the flag exists for the command; sets it.
bool SetFlag(CliArguments& result, const std::string& flag) {
  const Command verb = result.Verb;
  if (flag == "--all") return result.All = true;
  if (flag == "--verbose") return result.Verbose = true;
  if (flag == "--cursors") return result.Cursors = true;
  if (flag == "--json" && verb == Command::List) return result.Json = true;
  if (flag == "--add" && verb == Command::Icl) return result.Add = true;
  if (flag == "--force" && verb == Command::Icl) return result.Force = true;
  if (flag == "--largest" && verb == Command::Export) return result.Largest = true;
  return false;
}

std::string CheckComplete(CliArguments& result, std::vector<std::string>& operands) {
  if (result.Verb == Command::Save) {
    if (result.Format.empty()) return "save needs --format";
    if (result.Format != "ico" && result.Format != "gif" && result.Format != "bmp" &&
        result.Format != "jpg" && result.Format != "png" && result.Format != "cur" &&
        result.Format != "ani")
      return "unknown format '" + result.Format + "'";
  }
  if (result.Verb != Command::List && result.Verb != Command::Icl && result.Output.empty())
    return CommandName(result.Verb) + std::string(" needs --output");
  if (result.Verb == Command::Theme && (operands.size() != 1 || result.Names.size() > 1))
    return "theme needs one FOLDER and at most one --name";
  if (result.Largest && result.Size > 0) return "--largest and --size exclude each other";
  if (result.Verb == Command::Icl) {
    if (operands.empty()) return "icl needs a LIBRARY";
    result.Library = operands.front();
    operands.erase(operands.begin());
  }
  if (operands.empty()) return "no PATH given";
  return {};
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& args) {
  CliArguments result;
  if (args.empty()) return Bad("no command given");
  const std::string& verb = args[0];
  if (verb == "--help" || verb == "-h" || verb == "help") {
    result.Verb = Command::Help;
    return ParseResult{result, {}};
  }
  if (verb == "--version") {
    result.Verb = Command::Version;
    return ParseResult{result, {}};
  }
  const auto command = VerbOf(verb);
  if (!command) return Bad("unknown command '" + verb + "'");
  result.Verb = *command;

  std::vector<std::string> operands;
  bool optionsEnded = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      result.Verb = Command::Help;
      return ParseResult{result, {}};
    }
    if (SetFlag(result, arg)) continue;
    const auto equals = arg.find('=');
    const std::string option = arg.substr(0, equals);
    if (!TakesValue(result.Verb, option)) return Bad("unknown option '" + arg + "'");
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return Bad(arg + " needs a value");
    }
    if (std::string error = SetValue(result, option, value); !error.empty())
      return Bad(std::move(error));
  }

  if (std::string error = CheckComplete(result, operands); !error.empty())
    return Bad(std::move(error));
  result.Paths = std::move(operands);
  return ParseResult{result, {}};
}

}  // namespace pictarix::cli
