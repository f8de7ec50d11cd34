#include "ui/OutputDialogs.h"

namespace pictarix {

// None has a title of its own: the platform's save or open title is shown.

TFileDialogRequest MakeSavePicDlg() {
  TFileDialogRequest dialog;
  dialog.DialogKind = TFileDialogRequest::Kind::Save;
  dialog.Filter = kSavePicFilter;
  dialog.FilterIndex = 1;
  dialog.DefaultExt = QStringLiteral("*.ico");
  dialog.Options = ofOverwritePrompt | ofCreatePrompt | ofNoReadOnlyReturn;
  return dialog;
}

TFileDialogRequest MakeSaveLibDlg() {
  TFileDialogRequest dialog;
  dialog.DialogKind = TFileDialogRequest::Kind::Save;
  dialog.Filter = kIconLibraryFilter;
  dialog.DefaultExt = QStringLiteral(".icl");
  dialog.Options = ofOverwritePrompt | ofPathMustExist;
  return dialog;
}

TFileDialogRequest MakeOpenLibDlg() {
  TFileDialogRequest dialog;
  dialog.DialogKind = TFileDialogRequest::Kind::Open;
  dialog.Filter = kIconLibraryFilter;
  dialog.DefaultExt = QStringLiteral(".icl");
  dialog.Options = ofPathMustExist | ofFileMustExist;
  return dialog;
}

}  // namespace pictarix
