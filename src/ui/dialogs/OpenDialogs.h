#pragma once
// The questions of the Open commands: which files, which folder. Each starts in the folder its
// dialog was last used in and remembers the one it ends in.
#include <QString>
#include <QStringList>

class QWidget;

namespace pictarix {

class TDialogs;

// OpenDlg1: program files, libraries, icon libraries and icon files; false on cancel.
bool AskFilesToOpen(TDialogs& dialogs, QWidget* parent, QStringList& files);
// The folder of a directory harvest; false on cancel or when it names no directory.
bool AskFolderToOpen(TDialogs& dialogs, QWidget* parent, QString& folder);

}  // namespace pictarix
