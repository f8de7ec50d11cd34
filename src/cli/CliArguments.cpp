#include "cli/CliArguments.h"

namespace pictarix::cli {

const char* const kUsage =
    "usage: pictarix-cli list [--all] [--json] PATH...\n"
    "       pictarix-cli save --format ico|gif|bmp|jpg|png --output DIR [--all] PATH...\n"
    "       pictarix-cli icl [--add] [--all] LIBRARY PATH...\n"
    "       pictarix-cli --help | --version\n"
    "\n"
    "Finds every icon in Windows modules (PE, NE), icon libraries and icon files.\n"
    "  list   print one entry per icon with a 32x32 image (--json: a JSON array)\n"
    "  save   write entry i to DIR/i.EXT (ico: every image; gif: best 8-bit image;\n"
    "         bmp, jpg, png: the 32x32 tile over white)\n"
    "  icl    write all entries as one icon library (--add: append to an existing one)\n"
    "  --all  also icons that have images but no 32x32 image\n"
    "Directories are harvested recursively.\n";

namespace {

ParseResult Bad(std::string error) {
  return ParseResult{std::nullopt, std::move(error)};
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
  if (verb == "list") {
    result.Verb = Command::List;
  } else if (verb == "save") {
    result.Verb = Command::Save;
  } else if (verb == "icl") {
    result.Verb = Command::Icl;
  } else {
    return Bad("unknown command '" + verb + "'");
  }

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
    } else if (arg == "--help" || arg == "-h") {
      result.Verb = Command::Help;
      return ParseResult{result, {}};
    } else if (arg == "--all") {
      result.All = true;
    } else if (arg == "--json" && result.Verb == Command::List) {
      result.Json = true;
    } else if (arg == "--add" && result.Verb == Command::Icl) {
      result.Add = true;
    } else if ((arg == "--format" || arg == "--output") && result.Verb == Command::Save) {
      if (i + 1 >= args.size()) return Bad(arg + " needs a value");
      (arg == "--format" ? result.Format : result.Output) = args[++i];
    } else if (arg.rfind("--format=", 0) == 0 && result.Verb == Command::Save) {
      result.Format = arg.substr(9);
    } else if (arg.rfind("--output=", 0) == 0 && result.Verb == Command::Save) {
      result.Output = arg.substr(9);
    } else {
      return Bad("unknown option '" + arg + "'");
    }
  }

  if (result.Verb == Command::Save) {
    if (result.Format.empty()) return Bad("save needs --format");
    if (result.Format != "ico" && result.Format != "gif" && result.Format != "bmp" &&
        result.Format != "jpg" && result.Format != "png")
      return Bad("unknown format '" + result.Format + "'");
    if (result.Output.empty()) return Bad("save needs --output");
  }
  if (result.Verb == Command::Icl) {
    if (operands.empty()) return Bad("icl needs a LIBRARY");
    result.Library = operands.front();
    operands.erase(operands.begin());
  }
  if (operands.empty()) return Bad("no PATH given");
  result.Paths = std::move(operands);
  return ParseResult{result, {}};
}

}  // namespace pictarix::cli
