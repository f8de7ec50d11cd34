#include "ui/dialogs/FileDialogOptions.h"

#include <algorithm>

#include <QFileInfo>
#include <QStringList>

namespace pictarix {

namespace {

// The platform dialogs' own titles, used when the request has none.
QString TitleOf(const FileDialogRequest& request) {
  if (!request.Title.isEmpty()) return request.Title;
  return request.DialogKind == FileDialogRequest::Kind::Save ? QStringLiteral("Save As")
                                                             : QStringLiteral("Open");
}

// ".ext" for a mask "*.ext" without wildcards in the extension; empty otherwise.
QString ExtOfMask(const QString& mask) {
  if (!mask.startsWith(QLatin1String("*.")) || mask.size() < 3) return {};
  const QString ext = mask.mid(1);
  if (ext.contains(QLatin1Char('*')) || ext.contains(QLatin1Char('?'))) return {};
  return ext;
}

QString FolderOf(const QString& name) {
  return QFileInfo(name).absolutePath();
}

bool Exists(const QString& name) {
  return QFileInfo::exists(name);
}

bool Notice(Dialogs& dialogs, QWidget* parent, const FileDialogRequest& request,
            const QString& message) {
  dialogs.ShowNotice(parent, TitleOf(request), message);
  return false;
}

// Whether the options accept `name`, asking and refusing as they say.
bool Accepts(Dialogs& dialogs, QWidget* parent, const FileDialogRequest& request,
             const QString& name) {
  const unsigned options = request.Options;
  if ((options & ofPathMustExist) != 0 && !QFileInfo(FolderOf(name)).isDir()) {
    return Notice(dialogs, parent, request,
                  name + QStringLiteral("\nPath does not exist.\nCheck the path and try again."));
  }
  if (Exists(name)) return MayReplace(dialogs, parent, request, name);
  if ((options & ofFileMustExist) != 0) {
    return Notice(dialogs, parent, request,
                  name + QStringLiteral("\nFile not found.\nCheck the file name and try again."));
  }
  if ((options & ofCreatePrompt) != 0) {
    return dialogs.Confirm(
        parent, TitleOf(request),
        name + QStringLiteral("\nThis file does not exist.\nDo you want to create it?"),
        Dialogs::Answer::Yes);
  }
  return true;
}

// The name with the filter's extension when it was typed without one. An open dialog tries the
// name as typed first.
QString WithDefaultExt(const FileDialogRequest& request, int filterIndex, const QString& name) {
  if (HasExtension(name)) return name;
  if (request.DialogKind == FileDialogRequest::Kind::Open && Exists(name)) return name;
  return name + FilterDefaultExt(request, filterIndex);
}

}  // namespace

QString FilterDefaultExt(const FileDialogRequest& request, int filterIndex) {
  const QStringList parts = request.Filter.split(QLatin1Char('|'));
  const qsizetype masksAt = 2 * (static_cast<qsizetype>(filterIndex) - 1) + 1;
  if (filterIndex >= 1 && masksAt < parts.size()) {
    const QString first = parts[masksAt].split(QLatin1Char(';')).first().trimmed();
    const QString ext = ExtOfMask(first);
    if (!ext.isEmpty()) return ext;
  }
  QString ext = request.DefaultExt;
  if (ext.startsWith(QLatin1Char('*'))) ext.remove(0, 1);
  if (ext.isEmpty() || ext == QLatin1String(".")) return {};
  if (!ext.startsWith(QLatin1Char('.'))) ext.prepend(QLatin1Char('.'));
  return ext;
}

bool HasExtension(const QString& name) {
#ifdef _WIN32
  const qsizetype separator =
      std::max({name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')),
                name.lastIndexOf(QLatin1Char(':'))});
#else
  const qsizetype separator = name.lastIndexOf(QLatin1Char('/'));
#endif
  return name.indexOf(QLatin1Char('.'), separator + 1) >= 0;
}

bool IsReadOnlyFile(const QString& name) {
  const QFileInfo info(name);
  return info.exists() && !info.permission(QFileDevice::WriteOwner);
}

bool MayReplace(Dialogs& dialogs, QWidget* parent, const FileDialogRequest& request,
                const QString& name) {
  if (!Exists(name)) return true;
  if ((request.Options & ofNoReadOnlyReturn) != 0 && IsReadOnlyFile(name)) {
    return Notice(
        dialogs, parent, request,
        name + QStringLiteral("\nThis file is set to read-only.\nTry again with a different file "
                              "name."));
  }
  if ((request.Options & ofOverwritePrompt) != 0 &&
      request.DialogKind == FileDialogRequest::Kind::Save) {
    return dialogs.Confirm(parent, TitleOf(request),
                           name + QStringLiteral(" already exists.\nDo you want to replace it?"),
                           Dialogs::Answer::No);
  }
  return true;
}

bool RunFileDialog(Dialogs& dialogs, QWidget* parent, FileDialogRequest& request,
                   FileDialogAnswer& answer) {
  for (;;) {
    FileDialogAnswer chosen;
    if (!dialogs.ExecuteFileDialog(parent, request, chosen) || chosen.Files.isEmpty()) {
      return false;
    }
    request.FilterIndex = chosen.FilterIndex;
    request.InitialDir = FolderOf(chosen.Files.first());
    QStringList names;
    bool accepted = true;
    for (const QString& typed : chosen.Files) {
      names << WithDefaultExt(request, chosen.FilterIndex, typed);
      if (!Accepts(dialogs, parent, request, names.back())) {
        accepted = false;
        break;
      }
    }
    if (!accepted) {
      request.FileName = chosen.Files.first();
      continue;
    }
    request.FileName = names.first();
    answer.Files = names;
    answer.FilterIndex = chosen.FilterIndex;
    return true;
  }
}

}  // namespace pictarix
