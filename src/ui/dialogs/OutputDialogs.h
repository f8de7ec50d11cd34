#pragma once
// The file dialogs of the output commands, as the window creates them. Each lives as long as the
// window and keeps what its last use left (filter, folder, file name).
#include <QString>

#include "ui/dialogs/Dialogs.h"

namespace pictarix {

// "Save As": the five picture formats, "Icon" first and selected, the largest image as a PNG with
// its transparency, then the two cursor formats.
FileDialogRequest MakeSaveAsDialog();
// "Save to Icon Library": a new or replaced icon library.
FileDialogRequest MakeSaveLibraryDialog();
// "Add to Icon Library": an existing icon library.
FileDialogRequest MakeAddToLibraryDialog();

inline const QString kSavePicFilter = QStringLiteral(
    "Icon(*.ico)|*.ico|GIF(*.gif)|*.gif|Bitmap(*.bmp)|*.bmp|JPEG(*.jpg;*.jpeg)|*.jpg;*.jpeg|"
    "PNG(*.png)|*.png|PNG, largest image with transparency (*.png)|*.png|Cursor (*.cur)|*.cur|"
    "Animated cursor (*.ani)|*.ani");
// The 1-based index of the entry that writes the largest image with its transparency.
constexpr int kLargestPngFilterIndex = 6;
inline const QString kIconLibraryFilter = QStringLiteral("Icon Library (*.icl)|*.icl");

}  // namespace pictarix
