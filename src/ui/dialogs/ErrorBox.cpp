#include "ui/dialogs/ErrorBox.h"

#include <exception>

#include <QWidget>

#include "ui/dialogs/Dialogs.h"

namespace pictarix {

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + QLatin1Char('.');
  return message;
}

void RunGuarded(Dialogs& dialogs, QWidget* window, const std::function<void()>& command) {
  QString message;
  try {
    command();
    return;
  } catch (const std::exception& error) {
    message = QString::fromUtf8(error.what());
  } catch (...) {
    message = QStringLiteral("Unknown error");
  }
  dialogs.ShowError(window, window ? window->windowTitle() : QString(), ErrorBoxText(message));
}

}  // namespace pictarix
