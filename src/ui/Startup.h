#pragma once
// The steps of the program's start that are not the window's own.
#include <string>
#include <vector>

#include <QStringList>

namespace pictarix {

class TDdeServer;

// The program's arguments after its name, every one a path, taken from the raw argument vector
// before Qt removes the options it knows.
std::vector<std::string> RawArguments(int argc, const char* const* argv);
QStringList CommandLinePaths(const std::vector<std::string>& arguments);

// Announces the DDE service of the program at `programPath`. When the window is not to serve
// (another window serves the name, or no private socket can be made), says why on stderr.
void AnnounceDdeService(TDdeServer& server, const QString& programPath);

// Sends the process's standard output to the null device, so that anything written to it is
// discarded. Standard error stays.
void DiscardStandardOutput();

}  // namespace pictarix
