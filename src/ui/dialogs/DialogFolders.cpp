#include "ui/dialogs/DialogFolders.h"

#include <QDir>

#include "ui/window/QtPaths.h"
#include "ui/window/Settings.h"

namespace pictarix {

namespace {
const QString kFoldersKey = kSettingsKey + QStringLiteral("\\Folders");
}

QString StartFolder(const QString& dialog) {
  const QString folder = ReadSettingString(SettingsRoot::CurrentUser, kFoldersKey, dialog, QString());
  return IsDirectory(folder) ? folder : QDir::homePath();
}

void RememberFolder(const QString& dialog, const QString& folder) {
  if (IsDirectory(folder)) WriteSettingString(SettingsRoot::CurrentUser, kFoldersKey, dialog, folder);
}

}  // namespace pictarix
