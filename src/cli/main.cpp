// pictarix-cli: the icon harvest without a window.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliArguments.h"
#include "cli/CliHost.h"
#include "cli/Commands.h"

int main(int argc, char** argv) {
  using namespace pictarix::cli;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const ParseResult parsed = ParseArguments(args);
  if (!parsed.Arguments) {
    Complain(parsed.Error);
    std::fputs(kUsage, stderr);
    return 2;
  }
  const CliArguments& arguments = *parsed.Arguments;
  try {
    switch (arguments.Verb) {
      case Command::Help:
        std::fputs(kUsage, stdout);
        return 0;
      case Command::Version:
        std::printf("pictarix-cli %s\n", PICTARIX_VERSION);
        return 0;
      case Command::List:
        return RunList(arguments);
      case Command::Save:
        return RunSave(arguments);
      case Command::Icl:
        return RunIcl(arguments);
      case Command::Export:
        return RunExport(arguments);
    }
  } catch (const std::exception& e) {
    Complain(e.what());
    return 1;
  }
  return 1;
}
