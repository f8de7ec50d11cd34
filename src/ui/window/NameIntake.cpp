#include "ui/window/NameIntake.h"

#include <QMimeData>
#include <QUrl>

#include "harvest/Harvester.h"
#include "os/Files.h"
#include "ui/window/QtPaths.h"

namespace pictarix {

void HarvestNames(THarvester& harvester, const QStringList& names) {
  std::vector<std::filesystem::path> paths;
  paths.reserve(static_cast<std::size_t>(names.size()));
  for (const QString& name : names) paths.push_back(ToPath(name));
  HarvestPaths(harvester, paths);
}

void HarvestPaths(THarvester& harvester, const std::vector<std::filesystem::path>& paths) {
  for (const std::filesystem::path& path : paths) {
    if (harvester.StopRequested) break;
    if (!path.empty() && IsDirectory(path)) {
      harvester.HarvestDirectory(path);
    } else {
      harvester.HarvestFile(path);
    }
  }
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
