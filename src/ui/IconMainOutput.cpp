// The output commands of TIconMain: Save As, Batch Save As, Save/Add to Icon Library, Copy to
// Clipboard. The core's output functions do the work on entry indexes; these handlers ask the
// dialogs and call them.
#include <optional>
#include <vector>

#include <QAction>
#include <QGuiApplication>

#include "harvest/Harvester.h"
#include "output/BatchSave.h"
#include "output/EntryPictures.h"
#include "output/LibraryCommands.h"
#include "output/SaveEntry.h"
#include "output/SaveFormat.h"
#include "ui/ClipboardCopy.h"
#include "ui/FileDialogOptions.h"
#include "ui/IconMain.h"
#include "ui/Utilities.h"

namespace pictarix {

namespace {

const QString kBatchFolderPrompt = QStringLiteral("Please select a directory");

// The positions of the selected entries in list order.
std::vector<int> SelectedIndexes(const std::vector<bool>& flags) {
  std::vector<int> indexes;
  for (std::size_t row = 0; row < flags.size(); ++row) {
    if (flags[row]) indexes.push_back(static_cast<int>(row));
  }
  return indexes;
}

// The integer tag of a menu item; nullopt without an item or a tag.
std::optional<int> TagOf(const QAction* sender) {
  if (sender == nullptr) return std::nullopt;
  bool isNumber = false;
  const int tag = sender->data().toInt(&isNumber);
  if (!isNumber) return std::nullopt;
  return tag;
}

}  // namespace

void TIconMain::SaveAs1Click() {
  const std::vector<int> selected = SelectedIndexes(SelectedFlags());
  for (const int index : selected) {
    const TListEntry* entry = TEntryList(*harvester_).Entry(index);
    if (entry == nullptr) continue;
    SavePicDlg1.FileName = FromUtf8(entry->Caption);
    QString name;
    TSaveFormat format = TSaveFormat::Icon;
    for (;;) {
      TFileDialogAnswer answer;
      if (!RunFileDialog(dialogs_, this, SavePicDlg1, answer)) return;  // the rest is not offered
      name = answer.Files.first();
      if (const auto known = FormatFromExt(ToPath(name))) {
        format = *known;
        break;
      }
      // A name the formats do not know becomes an icon file. The dialog's questions covered the
      // typed name only, so an existing file of the new name is asked about here.
      format = TSaveFormat::Icon;
      const QString typed = name;
      name = FromPath(ReplaceExt(ToPath(typed), ExtFromFormat(TSaveFormat::Icon)));
      if (MayReplace(dialogs_, this, SavePicDlg1, name)) break;
      SavePicDlg1.FileName = typed;
    }
    TEntryList list(*harvester_);
    SaveEntryAs(list, ToPath(name), index, format);
  }
  SavePicDlg1.FileName.clear();
}

void TIconMain::BatchSaveClick(QAction* sender) {
  const std::optional<int> tag = TagOf(sender);
  if (!tag) return;
  const std::vector<int> selected = SelectedIndexes(SelectedFlags());
  // The batch menu's tags 0..3.
  constexpr TSaveFormat kBatchFormats[] = {TSaveFormat::Icon, TSaveFormat::Gif, TSaveFormat::Bitmap,
                                           TSaveFormat::Jpeg};
  if (selected.empty() || *tag < 0 || *tag > 3) return;
  QString folder;
  if (!SelectFolder(dialogs_, this, kBatchFolderPrompt, QStringLiteral("\\"), folder)) return;
  if (!IsDirectory(folder)) return;
  TEntryList list(*harvester_);
  BatchSave(list, selected, ToPath(folder), kBatchFormats[*tag]);
}

void TIconMain::SaveLib1Click(QAction* sender) {
  const std::vector<int> selected = SelectedIndexes(SelectedFlags());
  const std::optional<int> tag = TagOf(sender);
  if (selected.empty() || !tag || (*tag != 0 && *tag != 1)) return;
  const bool add = *tag == 1;
  TFileDialogAnswer answer;
  if (!RunFileDialog(dialogs_, this, add ? OpenLibDlg : SaveLibDlg, answer)) return;
  SaveEntriesToLibrary(harvester_->Entries, selected, ToPath(answer.Files.first()), add);
}

void TIconMain::CopyClipBrd1Click() {
  const std::vector<int> selected = SelectedIndexes(SelectedFlags());
  if (selected.size() != 1) return;
  const std::optional<RgbImage> tile = TileToBitmap(*harvester_, selected.front());
  if (!tile) return;
  PutImageOnClipboard(QGuiApplication::clipboard(), ToQImage(*tile));
}

}  // namespace pictarix
