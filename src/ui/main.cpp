// The window program: one process, one window.
#include <string>
#include <vector>

#include <QApplication>

#include "ui/Dialogs.h"
#include "ui/IconMain.h"

int main(int argc, char* argv[]) {
  // Every argument is a path: they are taken before Qt removes the options it knows.
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  (void)arguments;  // harvested on the first activation of the window

  QApplication application(argc, argv);
  pictarix::TQtDialogs dialogs;
  pictarix::TIconMain window(dialogs);
  window.show();
  return application.exec();
}
