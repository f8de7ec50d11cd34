#include "ui/TileDrag.h"

#include <QDir>
#include <QMimeData>
#include <QSet>
#include <QUrl>

#include "harvest/Harvester.h"
#include "output/SaveEntry.h"
#include "output/SaveFormat.h"
#include "platform/EscapedText.h"
#include "ui/QtPaths.h"

namespace pictarix {

namespace {

constexpr qsizetype kMaxNameLength = 120;  // characters, leaving room for " (n).ico"

}  // namespace

QString FileNameOfCaption(const QString& caption) {
  QString name;
  for (const QChar c : caption) {
    const bool forbidden =
        IsHiddenControl(c.unicode()) || QStringLiteral("/\\:*?\"<>|").contains(c);
    name += forbidden ? QChar(u'_') : c;
  }
  name = name.trimmed().left(kMaxNameLength);
  if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..")) {
    return QStringLiteral("icon");
  }
  return name;
}

TTileDrag::TTileDrag(THarvester& harvester)
    : harvester_(harvester), folder_(QDir::tempPath() + QStringLiteral("/pictarix-drag-XXXXXX")) {}

QMimeData* TTileDrag::MimeFor(const std::vector<int>& entries) {
  if (!folder_.isValid()) return nullptr;
  const QString dragFolder = folder_.filePath(QString::number(++drags_));
  if (!QDir().mkpath(dragFolder)) return nullptr;
  QList<QUrl> urls;
  TEntryList list(harvester_);
  QSet<QString> taken;  // names compared without case, as Windows file systems do
  for (const int entry : entries) {
    if (entry < 0 || static_cast<std::size_t>(entry) >= harvester_.Entries.size()) continue;
    const QString base = FileNameOfCaption(FromUtf8(harvester_.Entries[entry].Caption));
    QString name = base + QStringLiteral(".ico");
    for (int n = 2; taken.contains(name.toLower()); ++n) {
      name = QStringLiteral("%1 (%2).ico").arg(base).arg(n);
    }
    const QString path = dragFolder + QLatin1Char('/') + name;
    try {
      if (!SaveEntryAs(list, ToPath(path), entry, TSaveFormat::Icon)) continue;
    } catch (const std::exception&) {
      continue;  // a file that cannot be written is left out of the drag
    }
    taken.insert(name.toLower());
    urls << QUrl::fromLocalFile(path);
  }
  if (urls.isEmpty()) return nullptr;
  auto* data = new QMimeData;  // the drag owns it
  data->setUrls(urls);
  return data;
}

}  // namespace pictarix
