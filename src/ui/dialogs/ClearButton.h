#pragma once
// The clear button Qt shows inside a line edit, named: a screen reader otherwise finds a
// nameless button, and the mouse no tooltip.
class QLineEdit;
class QString;

namespace pictarix {

// Shows `box`'s clear button, named `name` for screen readers and its tooltip.
void ShowNamedClearButton(QLineEdit& box, const QString& name);

}  // namespace pictarix
