#include "ui/Utilities.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/Files.h"
#include "ui/Dialogs.h"

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

QString HelpFileOf(const QString& program) {
  const qsizetype folderEnd = program.lastIndexOf(QDir::separator());
  const qsizetype dot = program.lastIndexOf(QLatin1Char('.'));
  const QString stem = dot > folderEnd ? program.left(dot) : program;
  return stem + QStringLiteral(".chm");
}

bool IsDirectory(const QString& path) {
  return !path.isEmpty() && IsDirectory(ToPath(path));
}

std::intptr_t ShowHtmlHelp(QWidget*, const QString&, unsigned, std::uintptr_t) {
  return 0;
}

bool SelectFolder(TDialogs& dialogs, QWidget* parent, const QString& prompt, const QString& root,
                  QString& folder) {
  if (!folder.isEmpty() && !IsDirectory(folder)) folder.clear();
  const QString start = root == QLatin1String("\\") ? QDir::rootPath() : root;
  QString chosen = folder;
  if (!dialogs.BrowseForFolder(parent, prompt, start, chosen) || chosen.isEmpty()) return false;
  folder = chosen;
  return true;
}

QString LongTimeText(const QTime& time, const QLocale& locale) {
  const QString format = locale.timeFormat(QLocale::LongFormat);
  // Drop every unquoted "t" (the zone) with the blanks before it.
  QString cleaned;
  bool quoted = false;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (c == QLatin1Char('\'')) quoted = !quoted;
    if (!quoted && c == QLatin1Char('t')) {
      while (!cleaned.isEmpty() && cleaned.back().isSpace()) cleaned.chop(1);
      continue;
    }
    cleaned += c;
  }
  return locale.toString(time, cleaned.trimmed());
}

}  // namespace pictarix
