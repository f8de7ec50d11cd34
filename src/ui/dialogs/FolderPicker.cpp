#include "ui/dialogs/FolderPicker.h"

#include <QDir>

#include "ui/dialogs/Dialogs.h"
#include "ui/window/QtPaths.h"

namespace pictarix {

bool SelectFolder(Dialogs& dialogs, QWidget* parent, const QString& prompt, const QString& root,
                  QString& folder, FolderOption* option) {
  if (!folder.isEmpty() && !IsDirectory(folder)) folder.clear();
  const QString start = root == QLatin1String("\\") ? QDir::rootPath() : root;
  QString chosen = folder;
  if (!dialogs.BrowseForFolder(parent, prompt, start, chosen, option) || chosen.isEmpty())
    return false;
  folder = chosen;
  return true;
}

}  // namespace pictarix
