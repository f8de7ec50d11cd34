#include "ui/NameIntake.h"

#include <QMimeData>
#include <QUrl>

#include "harvest/Harvester.h"
#include "ui/QtPaths.h"

namespace pictarix {

void HarvestNames(THarvester& harvester, const QStringList& names) {
  for (const QString& name : names) {
    if (harvester.StopRequested) break;
    if (IsDirectory(name)) {
      harvester.HarvestDirectory(ToPath(name));
    } else {
      harvester.HarvestFile(ToPath(name));
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

QStringList MacroNames(const QStringList& lines) {
  QStringList names;
  const QChar quote(QLatin1Char('"'));
  for (const QString& line : lines) {
    if (line.size() < 2) continue;
    const bool quoted = line.front() == quote && line.back() == quote;
    names.push_back(quoted ? line.mid(1, line.size() - 2) : line);
  }
  return names;
}

}  // namespace pictarix
