#include "ui/window/CursorThemeCommand.h"

#include <string>
#include <vector>

#include <QWidget>

#include "output/CursorRoles.h"
#include "output/CursorSchemeTheme.h"
#include "ui/dialogs/DialogFolders.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/FolderPicker.h"
#include "ui/window/QtPaths.h"

namespace pictarix {

namespace {

const QString kTitle = QStringLiteral("Save as Cursor Theme");
const QString kFolderPrompt = QStringLiteral("Select the folder to write the cursor theme into");
const QString kFolderSetting = QStringLiteral("CursorTheme");
const QString kDefaultName = QStringLiteral("Cursors");

bool IsCursor(const SelectedEntry& picked) {
  return picked.Entry->Icon != nullptr && picked.Entry->Icon->Kind != EntryKind::Icon;
}

QStringList CursorCaptions(const EntrySelection& selection) {
  QStringList captions;
  for (const SelectedEntry& picked : selection) {
    if (IsCursor(picked)) captions << FromUtf8(picked.Entry->Caption);
  }
  return captions;
}

// Whether any caption names a role, as WriteCursorThemeFromEntries matches them.
bool AnyRoleNamed(const EntrySelection& cursors) {
  std::vector<std::string> files;
  for (const SelectedEntry& cursor : cursors) files.push_back(cursor.Entry->Caption + ".cur");
  const RoleFiles roles = MatchRolesByFileName(files);
  for (const std::string& file : roles) {
    if (!file.empty()) return true;
  }
  return false;
}

QString PassedOverText(qsizetype icons) {
  if (icons == 0) return {};
  return icons == 1
             ? QStringLiteral("\n1 selected icon was passed over: only cursors go into a theme.")
             : QStringLiteral(
                   "\n%1 selected icons were passed over: only cursors go into a "
                   "theme.")
                   .arg(icons);
}

QString WrittenText(const CursorThemeResult& result, qsizetype icons) {
  QString text =
      QStringLiteral("The cursor theme was written to %1.").arg(FromPath(result.Written.Folder));
  QStringList missing;
  for (const std::size_t role : result.Written.MissingRoles) {
    missing << FromUtf8(std::string(CursorRoles()[role].Name));
  }
  if (!missing.isEmpty()) {
    text += QStringLiteral("\nRoles without a cursor: %1.").arg(missing.join(QStringLiteral(", ")));
  }
  for (const std::string& problem : result.Problems) {
    text += QLatin1Char('\n') + FromUtf8(problem);
  }
  return text + PassedOverText(icons);
}

}  // namespace

QString ProposedThemeName(const QStringList& captions) {
  if (captions.isEmpty()) return kDefaultName;
  QString common = captions.first();
  for (const QString& caption : captions) {
    qsizetype same = 0;
    while (same < common.size() && same < caption.size() && common[same] == caption[same]) ++same;
    common.truncate(same);
  }
  while (!common.isEmpty() && !common.back().isLetterOrNumber()) common.chop(1);
  return common.isEmpty() ? kDefaultName : common;
}

QString SaveCursorTheme(Dialogs& dialogs, QWidget* parent,
                        const std::function<EntrySelection()>& selected) {
  if (selected().empty()) return {};
  QString folder = StartFolder(kFolderSetting);
  if (!SelectFolder(dialogs, parent, kFolderPrompt, QStringLiteral("\\"), folder)) return {};
  if (!IsDirectory(folder)) return {};
  RememberFolder(kFolderSetting, folder);
  QString name = ProposedThemeName(CursorCaptions(selected()));
  if (!dialogs.AskText(parent, kTitle, QStringLiteral("Name of the theme:"), name)) return {};
  name = name.trimmed();
  if (name.isEmpty()) name = kDefaultName;

  const EntrySelection picked = selected();
  EntrySelection cursors;
  for (const SelectedEntry& entry : picked) {
    if (IsCursor(entry)) cursors.push_back(entry);
  }
  const qsizetype icons = static_cast<qsizetype>(picked.size() - cursors.size());
  if (!AnyRoleNamed(cursors)) {
    dialogs.ShowNotice(parent, kTitle,
                       QStringLiteral("No theme was written: no selected cursor is named after a "
                                      "role (such as \"Arrow\", \"Help\" or \"Wait\").") +
                           PassedOverText(icons));
    return {};
  }
  const CursorThemeResult result = WriteCursorThemeFromEntries(
      cursors, ToPath(folder), name.toStdString(), "Cursors saved from Pictarix");
  dialogs.ShowNotice(parent, kTitle, WrittenText(result, icons));
  return FromPath(result.Written.Folder);
}

}  // namespace pictarix
