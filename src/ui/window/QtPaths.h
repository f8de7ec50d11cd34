#pragma once
// Paths and text between Qt and the core, and the program's own path.
#include <filesystem>
#include <string>

#include <QString>

namespace pictarix {

std::filesystem::path ToPath(const QString& text);
QString FromPath(const std::filesystem::path& path);
// UTF-8 text of the core as a QString.
QString FromUtf8(const std::string& text);

// The program file's full path with every symbolic link resolved (not argument 0).
QString ProgramPath();
// True when `path` names an existing directory.
bool IsDirectory(const QString& path);

}  // namespace pictarix
