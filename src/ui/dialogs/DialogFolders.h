#pragma once
// The folder each dialog starts in: where that dialog was last used (kept in the settings, so
// across runs), else the home folder.
#include <QString>

namespace pictarix {

// Names of the dialogs, also the names of their settings values.
inline const QString kOpenFilesFolder = QStringLiteral("OpenFiles");
inline const QString kOpenDirectoryFolder = QStringLiteral("OpenDirectory");
inline const QString kSaveAsFolder = QStringLiteral("SaveAs");
inline const QString kBatchSaveFolder = QStringLiteral("BatchSave");
inline const QString kSaveLibraryFolder = QStringLiteral("SaveToIconLibrary");
inline const QString kAddLibraryFolder = QStringLiteral("AddToIconLibrary");
inline const QString kExportImagesFolder = QStringLiteral("ExportImages");
inline const QString kDetailsSavePngFolder = QStringLiteral("DetailsSaveAsPng");

// The folder `dialog` starts in: the remembered one while it exists, else the home folder.
QString StartFolder(const QString& dialog);
void RememberFolder(const QString& dialog, const QString& folder);

}  // namespace pictarix
