#include "ui/dialogs/OutputDialogs.h"

namespace pictarix {

// Save As and Save to Icon Library show the platform's save title.

TFileDialogRequest MakeSaveAsDialog() {
  TFileDialogRequest dialog;
  dialog.DialogKind = TFileDialogRequest::Kind::Save;
  dialog.Filter = kSavePicFilter;
  dialog.FilterIndex = 1;
  dialog.DefaultExt = QStringLiteral("*.ico");
  dialog.Options = ofOverwritePrompt | ofCreatePrompt | ofNoReadOnlyReturn;
  return dialog;
}

TFileDialogRequest MakeSaveLibraryDialog() {
  TFileDialogRequest dialog;
  dialog.DialogKind = TFileDialogRequest::Kind::Save;
  dialog.Filter = kIconLibraryFilter;
  dialog.DefaultExt = QStringLiteral(".icl");
  dialog.Options = ofOverwritePrompt | ofPathMustExist;
  return dialog;
}

TFileDialogRequest MakeAddToLibraryDialog() {
  TFileDialogRequest dialog;
  dialog.DialogKind = TFileDialogRequest::Kind::Open;
  dialog.Title = QStringLiteral("Add to Icon Library");
  dialog.AcceptLabel = QStringLiteral("Add");
  dialog.Filter = kIconLibraryFilter;
  dialog.DefaultExt = QStringLiteral(".icl");
  dialog.Options = ofPathMustExist | ofFileMustExist;
  return dialog;
}

}  // namespace pictarix
