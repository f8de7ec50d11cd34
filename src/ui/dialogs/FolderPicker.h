#pragma once
// The folder picker of the directory harvest and the batch save.
#include <QString>

class QWidget;

namespace pictarix {

class Dialogs;
struct FolderOption;

// Asks for a folder. `root` "\" means the root of the file system. `folder` in: the folder to
// preselect (emptied when it names no existing directory); out: the chosen folder. False on
// cancel, which leaves `folder` as step one left it. An `option` is shown as a check box.
bool SelectFolder(Dialogs& dialogs, QWidget* parent, const QString& prompt, const QString& root,
                  QString& folder, FolderOption* option = nullptr);

}  // namespace pictarix
