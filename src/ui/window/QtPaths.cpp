#include "ui/window/QtPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "os/Files.h"

namespace pictarix {

std::filesystem::path ToPath(const QString& text) {
#ifdef _WIN32
  return std::filesystem::path(text.toStdWString());
#else
  return std::filesystem::path(QFile::encodeName(text).toStdString());
#endif
}

QString FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
  return QString::fromStdWString(path.native());
#else
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ProgramPath() {
  const QString program = QCoreApplication::applicationFilePath();
  const QString resolved = QFileInfo(program).canonicalFilePath();
  return QDir::toNativeSeparators(resolved.isEmpty() ? program : resolved);
}

bool IsDirectory(const QString& path) {
  return !path.isEmpty() && IsDirectory(ToPath(path));
}

}  // namespace pictarix
