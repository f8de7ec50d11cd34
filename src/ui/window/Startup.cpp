#include "ui/window/Startup.h"

#include <cstdio>

#include <QFile>

#include "ui/intake/MacroServer.h"
#include "ui/intake/SocketPath.h"

namespace pictarix {

std::vector<std::string> RawArguments(int argc, const char* const* argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return arguments;
}

QtArguments::QtArguments(char* programName) {
  static char fallbackName[] = "pictarix";
  vector_[0] = programName != nullptr ? programName : fallbackName;
}

QStringList CommandLinePaths(const std::vector<std::string>& arguments) {
  QStringList paths;
  for (const std::string& argument : arguments) {
    paths.push_back(QFile::decodeName(QByteArray::fromStdString(argument)));
  }
  return paths;
}

void AnnounceMacroService(MacroServer& server, const QString& programPath) {
  const QString service = MacroServiceName(programPath);
  if (server.Announce(service) == MacroServer::Announcement::Serving) return;
  const QByteArray message = (service + QStringLiteral(": ") + server.ErrorText() +
                              QStringLiteral("; this window runs without a DDE server\n"))
                                 .toLocal8Bit();
  std::fputs(message.constData(), stderr);
}

void DiscardStandardOutput() {
#ifdef _WIN32
  const char* const nullDevice = "NUL";
#else
  const char* const nullDevice = "/dev/null";
#endif
  std::fflush(stdout);
  if (std::freopen(nullDevice, "w", stdout) == nullptr) {
    // Without a null device, output still goes nowhere: the stream is closed.
    std::fclose(stdout);
  }
}

}  // namespace pictarix
