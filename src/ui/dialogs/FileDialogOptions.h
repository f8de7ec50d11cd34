#pragma once
// The file dialog options the platform's dialog lacks, applied by hand around
// Dialogs::ExecuteFileDialog: the extension of the selected filter for a name typed without one,
// and the questions and refusals of FileDialogOption.
#include <QString>

#include "ui/dialogs/Dialogs.h"

class QWidget;

namespace pictarix {

// The extension a name typed without one receives: the first mask of the selected filter entry
// when it names a plain extension ("*.jpg;*.jpeg" gives ".jpg"), otherwise the request's
// DefaultExt ("*.ico", "ico" and ".ico" all give ".ico"); empty when neither names one.
QString FilterDefaultExt(const FileDialogRequest& request, int filterIndex);

// Whether the last component of `name` holds a ".".
bool HasExtension(const QString& name);

// The counterpart of the read-only attribute: an existing file its owner may not write.
bool IsReadOnlyFile(const QString& name);

// Runs the dialog until it gives names that the request's options accept, or is cancelled
// (false). Each refusal or "No" shows the dialog again with the name as it was typed. The request
// keeps what the dialog's own state would keep: the filter chosen, the folder and the file name.
bool RunFileDialog(Dialogs& dialogs, QWidget* parent, FileDialogRequest& request,
                   FileDialogAnswer& answer);

// The questions the options ofNoReadOnlyReturn and ofOverwritePrompt ask about `name` when it
// exists, for a name the dialog itself did not return. True when it may be written.
bool MayReplace(Dialogs& dialogs, QWidget* parent, const FileDialogRequest& request,
                const QString& name);

}  // namespace pictarix
