#pragma once
// Where the program's manual is.
#include <QString>

class QWidget;

namespace pictarix {

// The manual of the program at `programPath`: the installed <prefix>/share/doc/pictarix/README.md
// beside the program's bin folder, or, when the program runs from a build folder, the README.md
// of the source tree that folder was configured from. Empty when neither exists.
QString ManualPath(const QString& programPath);

class Dialogs;

// Shows the manual inside the program, or says that it could not.
void OpenManual(Dialogs& dialogs, QWidget* parent);

}  // namespace pictarix
