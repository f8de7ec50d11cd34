#include "ui/window/NameIntake.h"

#include <QMimeData>
#include <QUrl>

#include "os/Files.h"
#include "ui/window/QtPaths.h"

namespace pictarix {

std::vector<HarvestRoot> RootsOf(const QStringList& names) {
  std::vector<std::filesystem::path> paths;
  paths.reserve(static_cast<std::size_t>(names.size()));
  for (const QString& name : names) paths.push_back(ToPath(name));
  return RootsOf(paths);
}

std::vector<HarvestRoot> RootsOf(const std::vector<std::filesystem::path>& paths) {
  std::vector<HarvestRoot> roots;
  roots.reserve(paths.size());
  for (const std::filesystem::path& path : paths) {
    roots.push_back({path, !path.empty() && IsDirectory(path)});
  }
  return roots;
}

QStringList LocalNames(const QMimeData* data) {
  QStringList names;
  if (data == nullptr) return names;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) names.push_back(url.toLocalFile());
  }
  return names;
}

std::vector<std::filesystem::path> MacroNames(const QByteArrayList& lines) {
  std::vector<std::filesystem::path> names;
  for (const QByteArray& line : lines) {
    if (line.size() < 2) continue;
    const bool quoted = line.front() == '"' && line.back() == '"';
    const QByteArray name = quoted ? line.mid(1, line.size() - 2) : line;
    names.emplace_back(name.toStdString());
  }
  return names;
}

}  // namespace pictarix
