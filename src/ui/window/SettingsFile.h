#pragma once
// The user's settings file, read and written as safely as every other file. QSettings would open
// the file itself, following links and waiting on a FIFO, and write through a link. Here the
// file's bytes are read only from a regular file (never through a link, never waiting) and
// written back with the safe replace; QSettings parses and writes the same INI text on a private
// copy, so stored files keep their format.
//
// A settings file that is no regular file, cannot be read or cannot be parsed is set aside
// (renamed to "<name>.bad-<date>-<time>" beside it) with a message on stderr, and the defaults
// are used.
#include <filesystem>
#include <memory>

#include <QByteArray>
#include <QString>

class QSettings;
class QTemporaryDir;

namespace pictarix {

class FileLock;

// The folder holding the settings of every organisation (the user's configuration folder, as
// QSettings finds it) unless SetSettingsFolder has chosen another.
QString SettingsFolder();
// Chooses the folder SettingsFolder answers, as QSettings::setPath does for QSettings itself; an
// empty text goes back to the user's configuration folder.
void SetSettingsFolder(const QString& folder);
// "<folder>/<organisation>/<application>.conf".
std::filesystem::path SettingsFilePath(const QString& organisation, const QString& application);

// Largest settings file read; a larger one is set aside.
inline constexpr qsizetype kMaxSettingsBytes = qsizetype{1} << 20;

// One look at (or change of) the settings of `organisation` and `application`. For a change,
// writers of the same file wait for each other from the read to the write.
class SettingsFile {
 public:
  enum class Use { Read, Change };

  SettingsFile(const QString& organisation, const QString& application, Use use);
  ~SettingsFile();
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  QSettings& Settings() { return *settings_; }
  // Writes the settings back when they changed. A failure is silent: the file keeps what it had.
  void Save();

 private:
  std::filesystem::path path_;
  std::unique_ptr<FileLock> lock_;
  std::unique_ptr<QTemporaryDir> copyFolder_;
  QString copyPath_;
  QByteArray original_;
  std::unique_ptr<QSettings> settings_;
};

}  // namespace pictarix
