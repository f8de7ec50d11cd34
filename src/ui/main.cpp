// The window program: one process, one window.
#include <QApplication>

#include "ui/dialogs/Dialogs.h"
#include "ui/intake/MacroServer.h"
#include "ui/window/MainWindow.h"
#include "ui/window/QtPaths.h"
#include "ui/window/Startup.h"

int main(int argc, char* argv[]) {
  using namespace pictarix;
  // Every argument is a path: Qt gets the program's name alone, so that no argument can pass
  // for one of its own options (a style sheet, a platform, a folder of plug-ins to load).
  const std::vector<std::string> arguments = RawArguments(argc, argv);
  QtArguments qtArguments(argc > 0 ? argv[0] : nullptr);

  QApplication application(qtArguments.Count(), qtArguments.Vector());
  // The DDE service is announced before any window exists, for the whole life of the process.
  MacroServer tarvo;
  AnnounceMacroService(tarvo, ProgramPath());
  DiscardStandardOutput();

  QtDialogs dialogs;
  // FormCreate; the about box is created hidden as the window's construction ends.
  MainWindow window(dialogs);
  window.Intake().SetCommandLine(CommandLinePaths(arguments));
  window.Intake().ServeMacros(tarvo);
  window.show();  // its first show starts the command line's work
  return application.exec();
}
