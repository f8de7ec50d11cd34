#include "ui/list/TileDrag.h"

#include <string>

#include <QDir>
#include <QMimeData>
#include <QSet>
#include <QUrl>

#include "harvest/Harvester.h"
#include "os/LiveTempFolder.h"
#include "os/SafeFileName.h"
#include "output/SaveEntry.h"
#include "output/SaveFormat.h"
#include "ui/window/QtPaths.h"

namespace pictarix {

TileDrag::TileDrag(Harvester& harvester) : harvester_(harvester) {
  RemoveAbandonedTempFolders(ToPath(QDir::tempPath()), kFolderPrefix);
}

TileDrag::~TileDrag() = default;

QMimeData* TileDrag::MimeFor(const EntrySelection& entries) {
  if (!folder_) {
    try {
      folder_ = std::make_unique<LiveTempFolder>(ToPath(QDir::tempPath()), kFolderPrefix);
    } catch (const std::exception&) {
      return nullptr;  // no folder, no drag
    }
  }
  const QString dragFolder =
      FromPath(folder_->Path()) + QLatin1Char('/') + QString::number(++drags_);
  if (!QDir().mkpath(dragFolder)) return nullptr;
  QList<QUrl> urls;
  QSet<QString> taken;  // names compared without case, as Windows file systems do
  for (const SelectedEntry& picked : entries) {
    const std::string& caption = picked.Entry->Caption;
    QString name = FromUtf8(SafeFileName(caption, ".ico"));
    for (int n = 2; taken.contains(name.toLower()); ++n) {
      name = FromUtf8(SafeFileName(caption, " (" + std::to_string(n) + ").ico"));
    }
    const QString path = dragFolder + QLatin1Char('/') + name;
    try {
      if (!SaveEntryAs(*picked.Entry, harvester_.LargeImgs, ToPath(path), SaveFormat::Icon))
        continue;
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
