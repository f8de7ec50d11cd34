#include "ui/dialogs/ClearButton.h"

#include <QLineEdit>
#include <QToolButton>

namespace pictarix {

void ShowNamedClearButton(QLineEdit& box, const QString& name) {
  box.setClearButtonEnabled(true);
  // Qt's own button, the line edit's only tool button.
  for (QToolButton* clear : box.findChildren<QToolButton*>()) {
    clear->setAccessibleName(name);
    clear->setToolTip(name);
  }
}

}  // namespace pictarix
