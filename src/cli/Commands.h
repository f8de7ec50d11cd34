#pragma once
#include "cli/CliArguments.h"

namespace pictarix::cli {

// Runs one command; answers the exit status (0 success, 1 something failed).
int RunList(const CliArguments& args);
int RunSave(const CliArguments& args);
int RunIcl(const CliArguments& args);
int RunExport(const CliArguments& args);
int RunXcursor(const CliArguments& args);
int RunTheme(const CliArguments& args);

}  // namespace pictarix::cli
