#include "ui/window/SettingsFile.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <utility>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "os/Errors.h"
#include "os/EscapedText.h"
#include "os/FileLock.h"
#include "os/Files.h"
#include "os/SafeFile.h"
#include "ui/window/QtPaths.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pictarix {

namespace {

QString& ChosenFolder() {
  static QString folder;
  return folder;
}

#ifndef _WIN32

std::string ReadProblem(int error) {
  return "cannot be read (" + SystemErrorText(error) + ")";
}

// The settings file's bytes (empty when there is none), or nothing with `problem` saying why
// they cannot be used. Only a regular file is opened: a link, a FIFO or a device never is, so
// nothing waits and no device acts on an open.
std::optional<QByteArray> ReadSettingsBytes(const std::filesystem::path& path,
                                            std::string& problem) {
  struct stat named {};
  if (::lstat(path.c_str(), &named) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return QByteArray();
    problem = ReadProblem(errno);
    return std::nullopt;
  }
  if (S_ISLNK(named.st_mode)) {
    problem = "is a symbolic link";
    return std::nullopt;
  }
  if (!S_ISREG(named.st_mode)) {
    problem = "is not a regular file";
    return std::nullopt;
  }
  FileHandle file(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!file.IsOpen()) {
    problem = ReadProblem(errno);
    return std::nullopt;
  }
  struct stat opened {};
  if (::fstat(file.Descriptor(), &opened) != 0) {
    problem = ReadProblem(errno);
    return std::nullopt;
  }
  if (!S_ISREG(opened.st_mode) || opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) {
    problem = "is not a regular file";  // swapped since it was looked at
    return std::nullopt;
  }
  QByteArray bytes;
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(file.Descriptor(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      problem = ReadProblem(errno);
      return std::nullopt;
    }
    if (n == 0) return bytes;
    bytes.append(buffer, n);
    if (bytes.size() > kMaxSettingsBytes) {
      problem = "is larger than 1 MiB";
      return std::nullopt;
    }
  }
}

// Renames the unusable settings file out of the way (a link is renamed itself) and says so.
void SetAside(const std::filesystem::path& path, const std::string& problem) {
  const std::string stamp =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
  std::string aside;
  int error = 0;
  for (int attempt = 1; attempt <= 100; ++attempt) {
    aside = path.string() + ".bad-" + stamp + (attempt > 1 ? "-" + std::to_string(attempt) : "");
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) {
      error = 0;
      break;
    }
    error = errno;
    if (error != EEXIST) break;
  }
  std::string message =
      "pictarix: the settings file \"" + EscapeControlChars(path.string()) + "\" " + problem + "; ";
  if (error == 0) {
    message += "it was moved to \"" + EscapeControlChars(aside) + "\"";
  } else {
    message += "it could not be moved aside (" + SystemErrorText(error) + ")";
  }
  message += ", and the default settings are used.\n";
  std::fputs(message.c_str(), stderr);
}

// The private folder of one settings copy: "pictarix-settings-<pid>-XXXXXX" in the temporary
// folder. A process killed while it holds a copy leaves its folder; the first copy of a later
// process removes the folders of processes that no longer run (only folders of the user running,
// never through a link).
constexpr char kCopyPrefix[] = "pictarix-settings-";

void RemoveCopiesOfEndedProcesses(const std::filesystem::path& temporary) {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(temporary, error)) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with(kCopyPrefix)) continue;
    const std::string rest = name.substr(sizeof kCopyPrefix - 1);
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || rest.find_first_not_of("0123456789") != dash ||
        dash > 9) {
      continue;
    }
    const auto pid = static_cast<pid_t>(std::stol(rest.substr(0, dash)));
    struct stat status {};
    if (::lstat(entry.path().c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        status.st_uid != ::geteuid() || pid == ::getpid() ||
        !(::kill(pid, 0) != 0 && errno == ESRCH)) {
      continue;
    }
    std::filesystem::remove_all(entry.path(), error);
  }
}

std::unique_ptr<QTemporaryDir> MakeCopyFolder() {
  static bool cleaned = false;
  const QString temporary = QDir::tempPath();
  if (!std::exchange(cleaned, true)) RemoveCopiesOfEndedProcesses(ToPath(temporary));
  return std::make_unique<QTemporaryDir>(temporary + QLatin1Char('/') + QLatin1String(kCopyPrefix) +
                                         QString::number(::getpid()) + QStringLiteral("-XXXXXX"));
}

#endif

}  // namespace

QString SettingsFolder() {
  if (!ChosenFolder().isEmpty()) return ChosenFolder();
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void SetSettingsFolder(const QString& folder) {
  ChosenFolder() = folder;
}

std::filesystem::path SettingsFilePath(const QString& organisation, const QString& application) {
  return ToPath(SettingsFolder() + QLatin1Char('/') + organisation + QLatin1Char('/') +
                application + QStringLiteral(".conf"));
}

#ifdef _WIN32

// The registry is no file: QSettings keeps the settings there itself.
SettingsFile::SettingsFile(const QString& organisation, const QString& application, Use)
    : settings_(std::make_unique<QSettings>(QSettings::UserScope, organisation, application)) {}

void SettingsFile::Save() {
  settings_->sync();
}

#else

SettingsFile::SettingsFile(const QString& organisation, const QString& application, Use use)
    : path_(SettingsFilePath(organisation, application)) {
  if (use == Use::Change) {
    try {
      lock_ = std::make_unique<FileLock>(path_);
    } catch (const PictarixError&) {
      // Another writer holds it for long: the change goes ahead as QSettings' own did.
    }
  }
  std::string problem;
  std::optional<QByteArray> bytes = ReadSettingsBytes(path_, problem);
  copyFolder_ = MakeCopyFolder();
  copyPath_ =
      copyFolder_->isValid() ? copyFolder_->filePath(QStringLiteral("settings.conf")) : QString();
  const auto openCopy = [this](const QByteArray& text) {
    QFile copy(copyPath_);
    if (!copyPath_.isEmpty() && copy.open(QIODevice::WriteOnly)) copy.write(text);
    copy.close();
    settings_ = std::make_unique<QSettings>(copyPath_, QSettings::IniFormat);
  };
  if (bytes) {
    openCopy(*bytes);
    if (settings_->status() == QSettings::FormatError) {
      problem = "cannot be read as settings";
      bytes.reset();
    }
  }
  if (!bytes) {
    SetAside(path_, problem);
    openCopy(QByteArray());
  }
  original_ = bytes.value_or(QByteArray());
}

void SettingsFile::Save() {
  settings_->sync();
  QFile copy(copyPath_);
  if (settings_->status() != QSettings::NoError || !copy.open(QIODevice::ReadOnly)) return;
  const QByteArray bytes = copy.readAll();
  if (bytes == original_) return;  // unchanged: nothing to write
  std::error_code ignored;
  std::filesystem::create_directories(path_.parent_path(), ignored);
  try {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    ReplaceFileOrLink(path_, std::span(data, static_cast<std::size_t>(bytes.size())));
    original_ = bytes;
  } catch (const PictarixError&) {
    // Settings that cannot be stored are not worth a question to the user.
  }
}

#endif

SettingsFile::~SettingsFile() {
  settings_.reset();  // before its copy goes
}

}  // namespace pictarix
