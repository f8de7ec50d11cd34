#pragma once
// The steps of the program's start that are not the window's own.
#include <array>
#include <string>
#include <vector>

#include <QStringList>

namespace pictarix {

class MacroServer;

// The program's arguments after its name, every one a path, taken from the raw argument vector.
std::vector<std::string> RawArguments(int argc, const char* const* argv);
QStringList CommandLinePaths(const std::vector<std::string>& arguments);

// The argument vector Qt is given: the program's name alone (a fixed name when the system gave
// none). Lives as long as the application object, as Qt keeps referring to it.
class QtArguments {
 public:
  explicit QtArguments(char* programName);
  int& Count() { return count_; }
  char** Vector() { return vector_.data(); }

 private:
  int count_ = 1;
  std::array<char*, 2> vector_{};
};

// Announces the DDE service of the program at `programPath`. When the window is not to serve
// (another window serves the name, or no private socket can be made), says why on stderr.
void AnnounceMacroService(MacroServer& server, const QString& programPath);

// Sends the process's standard output to the null device, so that anything written to it is
// discarded. Standard error stays.
void DiscardStandardOutput();

}  // namespace pictarix
