#include "ui/window/Manual.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QWidget>

#include "ui/dialogs/Dialogs.h"
#include "ui/window/QtPaths.h"

namespace pictarix {

namespace {

constexpr int kBuildFolderDepth = 4;  // how far above the program a build folder's root may be

// The source folder a CMake build folder was configured from, from its cache.
QString SourceFolderOf(const QString& buildFolder) {
  QFile cache(QDir(buildFolder).filePath(QStringLiteral("CMakeCache.txt")));
  if (!cache.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  const QByteArray key = "CMAKE_HOME_DIRECTORY:INTERNAL=";
  while (!cache.atEnd()) {
    const QByteArray line = cache.readLine().trimmed();
    if (line.startsWith(key)) return QFile::decodeName(line.mid(key.size()));
  }
  return {};
}

}  // namespace

QString ManualPath(const QString& programPath) {
  QDir folder = QFileInfo(programPath).absoluteDir();
  const QString installed =
      folder.absoluteFilePath(QStringLiteral("../share/doc/pictarix/README.md"));
  if (QFileInfo(installed).isFile()) return QDir::cleanPath(installed);
  for (int level = 0; level <= kBuildFolderDepth; ++level) {
    const QString source = SourceFolderOf(folder.path());
    if (!source.isEmpty()) {
      const QString readme = QDir(source).filePath(QStringLiteral("README.md"));
      return QFileInfo(readme).isFile() ? readme : QString();
    }
    if (!folder.cdUp()) break;
  }
  return {};
}

void OpenManual(Dialogs& dialogs, QWidget* parent) {
  const QString manual = ManualPath(ProgramPath());
  if (manual.isEmpty() || !dialogs.ShowManual(parent, manual)) {
    dialogs.ShowNotice(parent, parent ? parent->windowTitle() : QString(),
                       QStringLiteral("The manual could not be opened."));
  }
}

}  // namespace pictarix
