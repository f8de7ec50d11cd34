#include "ui/list/TileDrag.h"

#include <string>

#include <QDir>
#include <QMimeData>
#include <QUrl>

#include "harvest/Harvester.h"
#include "os/LiveTempFolder.h"
#include "output/SaveEntry.h"
#include "output/SaveFormat.h"
#include "output/UniqueFileNames.h"
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
  UniqueFileNames names(UniqueFileNames::Repeat::Parenthesised);
  for (const SelectedEntry& picked : entries) {
    const QString path =
        dragFolder + QLatin1Char('/') + FromUtf8(names.Take(picked.Entry->Caption, "", ".ico"));
    try {
      if (!SaveEntryAs(*picked.Entry, harvester_.LargeImgs, ToPath(path), SaveFormat::Icon))
        continue;
    } catch (const std::exception&) {
      continue;  // a file that cannot be written is left out of the drag
    }
    urls << QUrl::fromLocalFile(path);
  }
  if (urls.isEmpty()) return nullptr;
  auto* data = new QMimeData;  // the drag owns it
  data->setUrls(urls);
  return data;
}

}  // namespace pictarix
