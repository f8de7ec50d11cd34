#pragma once
// The default error box of every command: the exception's message, with "." appended when its
// last character sorts after ".", titled with the window's caption.
#include <functional>

#include <QString>

class QWidget;

namespace pictarix {

class Dialogs;

QString ErrorBoxText(const QString& message);

// Runs `command`; an exception that escapes it ends the command and shows the error box. The
// program goes on; whatever the command did before the error stays.
void RunGuarded(Dialogs& dialogs, QWidget* window, const std::function<void()>& command);

}  // namespace pictarix
