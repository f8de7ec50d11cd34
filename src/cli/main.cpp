// pictarix-cli: the icon harvest without a window.
#include <malloc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliArguments.h"
#include "cli/CliHost.h"
#include "cli/Commands.h"
#include "cli/Output.h"

namespace {

int Run(const pictarix::cli::CliArguments& arguments) {
  using namespace pictarix::cli;
  switch (arguments.Verb) {
    case Command::Help:
      WriteOutput(kUsage);
      return 0;
    case Command::Version:
      WriteOutput(std::string("pictarix-cli ") + PICTARIX_VERSION + "\n");
      return 0;
    case Command::List:
      return RunList(arguments);
    case Command::Save:
      return RunSave(arguments);
    case Command::Icl:
      return RunIcl(arguments);
    case Command::Export:
      return RunExport(arguments);
    case Command::Xcursor:
      return RunXcursor(arguments);
    case Command::Theme:
      return RunTheme(arguments);
  }
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pictarix::cli;
  // The harvest's reader threads each allocate from an arena of their own; grown in 128 KiB steps
  // (the default), those arenas cost a system call every few modules read. Growing them in large
  // steps keeps the memory they reuse.
  mallopt(M_TOP_PAD, 16 * 1024 * 1024);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const ParseResult parsed = ParseArguments(args);
  if (!parsed.Arguments) {
    Complain(parsed.Error);
    std::fputs(kUsage, stderr);
    return 2;
  }
  const CliArguments& arguments = *parsed.Arguments;
  try {
    const int status = Run(arguments);
    // Buffered output may fail only now.
    FlushOutput();
    ThrowIfOutputFailed();
    return status;
  } catch (const std::exception& e) {
    Complain(e.what());
    return 1;
  }
}
