#include "ui/window/SavedNotice.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QUrl>

#include "ui/dialogs/Dialogs.h"
#include "ui/window/StatusNotice.h"

namespace pictarix {

namespace {

QString Counted(int count, const QString& one, const QString& many) {
  return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

// No dead end when the desktop has no opener: the path can be copied instead.
void OfferPathCopy(StatusNotice& notice, const QString& folder) {
  notice.ShowBriefly(
      {QStringLiteral("No program could open %1").arg(folder), QStringLiteral("Copy Path"),
       [&notice, folder] {
         QGuiApplication::clipboard()->setText(folder);
         notice.ShowBriefly({QStringLiteral("Copied %1 to the clipboard").arg(folder), {}, {}});
       }});
}

}  // namespace

QString SavedFilesText(int files, const QString& folder) {
  return QStringLiteral("Saved %1 to %2")
      .arg(Counted(files, QStringLiteral("file"), QStringLiteral("files")),
           QDir::toNativeSeparators(folder));
}

QString SavedIconsText(int icons, const QString& library, bool added) {
  return QStringLiteral("%1 %2 to %3")
      .arg(added ? QStringLiteral("Added") : QStringLiteral("Saved"),
           Counted(icons, QStringLiteral("icon"), QStringLiteral("icons")),
           QDir::toNativeSeparators(library));
}

QString UnreadableFilesText(int files) {
  return Counted(files, QStringLiteral("file could not be read"),
                 QStringLiteral("files could not be read"));
}

void ShowSaved(StatusNotice& notice, Dialogs& dialogs, const QString& text, const QString& folder) {
  notice.ShowBriefly({text, QStringLiteral("Open Folder"), [&notice, &dialogs, folder] {
                        if (!dialogs.OpenDocument(QUrl::fromLocalFile(folder))) {
                          OfferPathCopy(notice, QDir::toNativeSeparators(folder));
                        }
                      }});
}

}  // namespace pictarix
