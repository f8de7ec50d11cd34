#include "ui/dialogs/OutputDialogs.h"

namespace pictarix {

// Save As and Save to Icon Library show the platform's save title.

FileDialogRequest MakeSaveAsDialog() {
  FileDialogRequest dialog;
  dialog.DialogKind = FileDialogRequest::Kind::Save;
  dialog.Filter = kSavePicFilter;
  dialog.FilterIndex = 1;
  dialog.DefaultExt = QStringLiteral("*.ico");
  dialog.Options = ofOverwritePrompt | ofCreatePrompt | ofNoReadOnlyReturn;
  return dialog;
}

FileDialogRequest MakeSaveLibraryDialog() {
  FileDialogRequest dialog;
  dialog.DialogKind = FileDialogRequest::Kind::Save;
  dialog.Filter = kIconLibraryFilter;
  dialog.DefaultExt = QStringLiteral(".icl");
  dialog.Options = ofOverwritePrompt | ofPathMustExist;
  return dialog;
}

FileDialogRequest MakeAddToLibraryDialog() {
  FileDialogRequest dialog;
  dialog.DialogKind = FileDialogRequest::Kind::Open;
  dialog.Title = QStringLiteral("Add to Icon Library");
  dialog.AcceptLabel = QStringLiteral("Add");
  dialog.Filter = kIconLibraryFilter;
  dialog.DefaultExt = QStringLiteral(".icl");
  dialog.Options = ofPathMustExist | ofFileMustExist;
  return dialog;
}

}  // namespace pictarix
