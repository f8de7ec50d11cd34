#include "ui/dialogs/OpenDialogs.h"

#include <QFileInfo>

#include "ui/dialogs/DialogFolders.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/FolderPicker.h"
#include "ui/window/QtPaths.h"

namespace pictarix {

bool AskFilesToOpen(Dialogs& dialogs, QWidget* parent, QStringList& files) {
  FileDialogRequest request;
  request.Title = QStringLiteral("Open Files");
  request.Filter = QStringLiteral(
      "EXE;DLL;CPL;OCX;ICL;ICO;NIL|*.EXE;*.DLL;*.CPL;*.OCX;*.ICL;*.ICO;*.NIL|EXE "
      "files(*.EXE)|*.exe|DLL files(*.DLL)|*.dll|All Files(*.*)|*.*");
  request.FilterIndex = 1;
  request.MultiSelect = true;
  request.InitialDir = StartFolder(kOpenFilesFolder);
  FileDialogAnswer answer;
  if (!dialogs.ExecuteFileDialog(parent, request, answer) || answer.Files.isEmpty()) return false;
  RememberFolder(kOpenFilesFolder, QFileInfo(answer.Files.first()).absolutePath());
  files = answer.Files;
  return true;
}

bool AskFolderToOpen(Dialogs& dialogs, QWidget* parent, QString& folder) {
  folder = StartFolder(kOpenDirectoryFolder);
  if (!SelectFolder(dialogs, parent, QStringLiteral("Please select a directory"),
                    QStringLiteral("\\"), folder)) {
    return false;
  }
  RememberFolder(kOpenDirectoryFolder, folder);
  return IsDirectory(folder);
}

}  // namespace pictarix
