#pragma once
// Helpers the window's commands share: paths between Qt and the core, the program's own path,
// help, the folder picker and the clock text.
#include <cstdint>
#include <filesystem>

#include <QLocale>
#include <QString>
#include <QTime>

class QWidget;

namespace pictarix {

class TDialogs;

std::filesystem::path ToPath(const QString& text);
QString FromPath(const std::filesystem::path& path);
// UTF-8 text of the core as a QString.
QString FromUtf8(const std::string& text);

// The program file's full path with every symbolic link resolved (not argument 0).
QString ProgramPath();
// `program` with the extension of its last component replaced by ".chm".
QString HelpFileOf(const QString& program);
// True when `path` names an existing directory.
bool IsDirectory(const QString& path);

// HTML Help does not exist on this platform: nothing happens and the answer is 0.
std::intptr_t ShowHtmlHelp(QWidget* owner, const QString& helpFile, unsigned command,
                           std::uintptr_t data);
inline constexpr unsigned kHhHelpContext = 0x000F;

// Asks for a folder. `root` "\" means the root of the file system. `folder` in: the folder to
// preselect (emptied when it names no existing directory); out: the chosen folder. False on
// cancel, which leaves `folder` as step one left it.
bool SelectFolder(TDialogs& dialogs, QWidget* parent, const QString& prompt, const QString& root,
                  QString& folder);

// The time in the locale's long time format, without the time-zone name that Qt's long format
// carries: hours, minutes and seconds as the locale orders them.
QString LongTimeText(const QTime& time, const QLocale& locale = QLocale::system());

}  // namespace pictarix
