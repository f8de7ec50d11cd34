#include "ui/intake/SocketPath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace pictarix {

QString MacroServiceName(const QString& programPath) {
  const QString name = QFileInfo(programPath).fileName();
  const qsizetype dot = name.indexOf(QLatin1Char('.'));
  return dot < 0 ? name : name.left(dot);
}

QString MacroSocketName(const QString& service, const QString& topic) {
  return (service + QLatin1Char('.') + topic).toLower();
}

#ifdef Q_OS_UNIX

namespace {

QString SystemError(const QString& path, const char* what) {
  return path + QStringLiteral(": ") + QString::fromLatin1(what) + QStringLiteral(": ") +
         QString::fromLocal8Bit(std::strerror(errno));
}

// A folder is private when it is no link, belongs to the user and is closed to everyone else.
bool IsPrivateFolder(const QString& path, QString& error) {
  struct stat status {};
  if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
    error = SystemError(path, "cannot be examined");
    return false;
  }
  if (!S_ISDIR(status.st_mode)) {
    error = path + QStringLiteral(" is not a folder");
  } else if (status.st_uid != ::geteuid()) {
    error = path + QStringLiteral(" belongs to another user");
  } else if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    error = path + QStringLiteral(" is open to other users");
  } else {
    return true;
  }
  return false;
}

QString PrivateFolder(const QString& path, QString& error) {
  const QByteArray encoded = QFile::encodeName(path);
  if (::mkdir(encoded.constData(), S_IRWXU) == 0) {
    // The creation mask may have taken bits of our own away.
    ::chmod(encoded.constData(), S_IRWXU);
  } else if (errno != EEXIST) {
    error = SystemError(path, "cannot be created");
    return QString();
  }
  return IsPrivateFolder(path, error) ? path : QString();
}

}  // namespace

QString MacroSocketFolder(QString& error) {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (runtime.isEmpty()) {
    const QString name = QStringLiteral("pictarix-") + QString::number(::geteuid());
    return PrivateFolder(QDir(QDir::tempPath()).filePath(name), error);
  }
  if (!runtime.startsWith(QLatin1Char('/'))) {
    error = QStringLiteral("XDG_RUNTIME_DIR is not an absolute path: ") + runtime;
    return QString();
  }
  struct stat status {};
  if (::stat(QFile::encodeName(runtime).constData(), &status) != 0) {
    error = SystemError(runtime, "cannot be examined");
    return QString();
  }
  if (!S_ISDIR(status.st_mode) || status.st_uid != ::geteuid()) {
    error = runtime + QStringLiteral(" is not a folder of this user");
    return QString();
  }
  return PrivateFolder(QDir(runtime).filePath(QStringLiteral("pictarix")), error);
}

#else

QString MacroSocketFolder(QString& error) {
  error = QStringLiteral("local sockets in a private folder need a Unix system");
  return QString();
}

#endif

}  // namespace pictarix
