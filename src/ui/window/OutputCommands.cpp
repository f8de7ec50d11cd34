#include "ui/window/OutputCommands.h"

#include <algorithm>

#include <QGuiApplication>
#include <QWidget>

#include "harvest/Harvester.h"
#include "os/SafeFileName.h"
#include "output/BatchSave.h"
#include "output/EntryPictures.h"
#include "output/LibraryCommands.h"
#include "output/SaveEntry.h"
#include "output/SaveFormat.h"
#include "ui/dialogs/DialogFolders.h"
#include "ui/dialogs/FileDialogOptions.h"
#include "ui/dialogs/FolderPicker.h"
#include "ui/dialogs/OutputDialogs.h"
#include "ui/window/ClipboardCopy.h"
#include "ui/window/CursorThemeCommand.h"
#include "ui/window/QtPaths.h"
#include "ui/window/SavedNotice.h"
#include "ui/window/ScopeExit.h"

namespace pictarix {

namespace {

const QString kBatchFolderPrompt = QStringLiteral("Please select a directory");
// Room a default name leaves for the extension the dialog adds: ".jpeg" is the longest.
constexpr std::size_t kExtRoom = 5;

FileDialogRequest StartingIn(FileDialogRequest request, const QString& dialog) {
  request.InitialDir = StartFolder(dialog);
  return request;
}

// Runs a file dialog and remembers the folder it ended in.
bool AskFile(Dialogs& dialogs, QWidget* parent, FileDialogRequest& request, const QString& dialog,
             FileDialogAnswer& answer) {
  if (!RunFileDialog(dialogs, parent, request, answer)) return false;
  RememberFolder(dialog, request.InitialDir);
  return true;
}

// Why `entry` cannot be saved in a cursor format, naming it.
QString WrongKindText(const ListEntry& entry, SaveFormat format) {
  const bool icon = entry.Icon->Kind == EntryKind::Icon;
  const QString why =
      format == SaveFormat::Cursor || icon
          ? QStringLiteral("it is an icon, and only cursors can be saved as %1 files")
          : QStringLiteral(
                "it is a still cursor, and only animated cursors can be saved as %1 "
                "files");
  return QStringLiteral("\"%1\" was not saved: %2. Nothing was written.")
      .arg(FromUtf8(entry.Caption), why.arg(FromUtf8(ExtFromFormat(format))));
}

}  // namespace

OutputCommands::OutputCommands(Dialogs& dialogs, QWidget& window, Harvester& harvester,
                               SelectionSource selected, StatusNotice& notice)
    : SaveAsDialog(StartingIn(MakeSaveAsDialog(), kSaveAsFolder)),
      SaveLibraryDialog(StartingIn(MakeSaveLibraryDialog(), kSaveLibraryFolder)),
      AddToLibraryDialog(StartingIn(MakeAddToLibraryDialog(), kAddLibraryFolder)),
      dialogs_(dialogs),
      window_(window),
      harvester_(harvester),
      selected_(std::move(selected)),
      notice_(notice) {}

void OutputCommands::Notice(const QString& message) {
  dialogs_.ShowNotice(&window_, window_.windowTitle(), message);
}

const ListEntry* OutputCommands::EntryAt(int position) const {
  const EntrySelection picked = SelectEntries(harvester_.Entries, std::span(&position, 1));
  return picked.empty() ? nullptr : picked.front().Entry;
}

void OutputCommands::SaveAs() {
  int written = 0;
  QString folder;  // of the last file written
  const ScopeExit report([&] {
    if (written > 0) Report(SavedFilesText(written, folder), folder);
  });
  for (const int position : PositionsOf(selected_())) {
    const ListEntry* entry = EntryAt(position);
    if (entry == nullptr) continue;
    // The caption is file content: offered only as one safe name inside the dialog's folder.
    SaveAsDialog.FileName = FromUtf8(SafeFileStem(entry->Caption, kMaxFileNameBytes - kExtRoom));
    QString name;
    SaveFormat format = SaveFormat::Icon;
    FileDialogAnswer answer;
    for (;;) {
      // A cancel ends the command: the rest is not offered.
      if (!AskFile(dialogs_, &window_, SaveAsDialog, kSaveAsFolder, answer)) return;
      name = answer.Files.first();
      if (const std::optional<SaveFormat> known = FormatFromExt(ToPath(name))) {
        format = *known;
        break;
      }
      // A name the formats do not know becomes an icon file. The dialog's questions covered the
      // typed name only, so an existing file of the new name is asked about here.
      format = SaveFormat::Icon;
      const QString typed = name;
      name = FromPath(ReplaceExt(ToPath(typed), ExtFromFormat(SaveFormat::Icon)));
      if (MayReplace(dialogs_, &window_, SaveAsDialog, name)) break;
      SaveAsDialog.FileName = typed;
    }
    entry = EntryAt(position);
    if (entry == nullptr) continue;
    // A ".png" name under the largest image's entry gets that image with its transparency.
    const bool largest = format == SaveFormat::Png && answer.FilterIndex == kLargestPngFilterIndex;
    const SaveResult result =
        largest ? SaveLargestImage(*entry, ToPath(name))
                : SaveEntryPicture(*entry, harvester_.LargeImgs, ToPath(name), format);
    if (result == SaveResult::Written) {
      ++written;
      folder = FromPath(ToPath(name).parent_path());
    }
    if (result == SaveResult::WrongKind) {
      Notice(WrongKindText(*entry, format));
    } else if (result != SaveResult::Written && format == SaveFormat::Gif) {
      Notice(QStringLiteral("This icon has no image of 256 colours or fewer; no GIF was written."));
    }
  }
  SaveAsDialog.FileName.clear();
}

void OutputCommands::BatchSaveAs(int tag) {
  // The batch menu's tags 0..4; the last writes each entry's largest image as a PNG.
  constexpr SaveFormat kBatchFormats[] = {SaveFormat::Icon, SaveFormat::Gif, SaveFormat::Bitmap,
                                          SaveFormat::Jpeg, SaveFormat::Png};
  const std::vector<int> selected = PositionsOf(selected_());
  if (selected.empty() || tag < 0 || tag > 4) return;
  const bool largest = tag == 4;
  const SaveFormat format = kBatchFormats[tag];
  QString folder = StartFolder(kBatchSaveFolder);
  if (!SelectFolder(dialogs_, &window_, kBatchFolderPrompt, QStringLiteral("\\"), folder)) return;
  if (!IsDirectory(folder)) return;
  RememberFolder(kBatchSaveFolder, folder);
  // Entry by entry, so that those without a picture in the format can be named.
  QStringList skipped;
  for (const int position : selected) {
    const std::filesystem::path name = BatchFileName(ToPath(folder), position, format);
    const ListEntry* entry = EntryAt(position);
    const bool written =
        entry != nullptr && (largest ? SaveLargestImage(*entry, name) == SaveResult::Written
                                     : SaveEntryAs(*entry, harvester_.LargeImgs, name, format));
    if (!written) skipped << FromPath(name.filename());
  }
  const int saved = static_cast<int>(selected.size()) - static_cast<int>(skipped.size());
  if (saved > 0) Report(SavedFilesText(saved, folder), folder);
  if (skipped.isEmpty()) return;
  Notice(QStringLiteral("%1 of the %2 selected icons could not be written in this format: %3.")
             .arg(skipped.size())
             .arg(selected.size())
             .arg(skipped.join(QStringLiteral(", "))));
}

void OutputCommands::SaveToLibrary(bool add) {
  const std::vector<int> selected = PositionsOf(selected_());
  if (selected.empty()) return;
  FileDialogAnswer answer;
  if (!AskFile(dialogs_, &window_, add ? AddToLibraryDialog : SaveLibraryDialog,
               add ? kAddLibraryFolder : kSaveLibraryFolder, answer)) {
    return;
  }
  const EntrySelection entries = SelectEntries(harvester_.Entries, selected);
  const QString library = answer.Files.first();
  EntrySelection refused;
  const std::int32_t held = SaveEntriesToLibrary(entries, ToPath(library), add, &refused);
  // Added: the icons of the selection that went in, not those the library held before.
  const auto icons = std::count_if(entries.begin(), entries.end(), [](const SelectedEntry& picked) {
    return picked.Entry->Icon != nullptr;
  });
  const int put = add ? static_cast<int>(icons) - static_cast<int>(refused.size()) : held;
  if (held > 0 && put > 0) {
    Report(SavedIconsText(put, library, add), FromPath(ToPath(library).parent_path()));
  }
  if (!refused.empty()) Notice(LeftOutOfLibraryText(refused));
}

QString OutputCommands::LeftOutOfLibraryText(const EntrySelection& refused) {
  constexpr std::size_t kNamed = 10;
  QStringList names;
  for (std::size_t i = 0; i < refused.size() && i < kNamed; ++i) {
    names << QStringLiteral("\"%1\"").arg(QString::fromStdString(refused[i].Entry->Caption));
  }
  if (refused.size() > kNamed) names << QStringLiteral("and %1 more").arg(refused.size() - kNamed);
  return QStringLiteral("Icon libraries hold only icons, so these cursors were left out: %1.")
      .arg(names.join(QStringLiteral(", ")));
}

void OutputCommands::CopyToClipboard() {
  const EntrySelection selected = selected_();
  if (selected.size() != 1) return;
  const std::optional<RgbImage> tile = TileToBitmap(*selected.front().Entry, harvester_.LargeImgs);
  if (!tile) return;
  PutImageOnClipboard(QGuiApplication::clipboard(), ToQImage(*tile));
}

void OutputCommands::CopyLargestImage() {
  const EntrySelection selected = selected_();
  if (selected.size() != 1) return;
  const std::optional<std::vector<std::uint8_t>> png = LargestImagePng(*selected.front().Entry);
  if (!png) {
    Notice(QStringLiteral("This icon has no image that can be copied."));
    return;
  }
  PutPngOnClipboard(QGuiApplication::clipboard(), *png);
}

void OutputCommands::SaveCursorTheme() {
  const QString folder = pictarix::SaveCursorTheme(dialogs_, &window_, selected_);
  if (!folder.isEmpty()) Report(QStringLiteral("Saved the cursor theme to %1").arg(folder), folder);
}

void OutputCommands::Report(const QString& text, const QString& folder) {
  ShowSaved(notice_, dialogs_, text, folder);
}

}  // namespace pictarix
