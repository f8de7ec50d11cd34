#pragma once
// The questions of the Open commands: which files, which folder. Each starts in the folder its
// dialog was last used in and remembers the one it ends in.
#include <QString>
#include <QStringList>

class QWidget;

namespace pictarix {

class Dialogs;

// openDialog: program files, libraries, icon libraries and icon files; false on cancel.
bool AskFilesToOpen(Dialogs& dialogs, QWidget* parent, QStringList& files);
// The folder of a directory harvest; false on cancel or when it names no directory.
bool AskFolderToOpen(Dialogs& dialogs, QWidget* parent, QString& folder);

}  // namespace pictarix
