#pragma once
// What the window says in its status line after a command wrote files, and after a run that
// could not read some: the texts, and the notices with their links ("Open Folder", the problems).
#include <QString>

namespace pictarix {

class Dialogs;
class StatusNotice;

// "Saved 1 file to FOLDER", "Saved 30 files to FOLDER".
QString SavedFilesText(int files, const QString& folder);
// "Saved 12 icons to LIBRARY", or with `added` "Added 12 icons to LIBRARY".
QString SavedIconsText(int icons, const QString& library, bool added);
// "1 file could not be read", "3 files could not be read".
QString UnreadableFilesText(int files);

// Shows `text` briefly with "Open Folder", which opens `folder` with the desktop's opener. When
// none can, the notice says so and offers to copy the folder's path instead.
void ShowSaved(StatusNotice& notice, Dialogs& dialogs, const QString& text, const QString& folder);

}  // namespace pictarix
