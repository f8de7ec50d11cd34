#pragma once
// The window's dialogs behind one interface, so that tests can answer them.
#include <QString>
#include <QStringList>

class QDialog;
class QUrl;
class QWidget;

namespace pictarix {

// Options of a file dialog that the platform's dialog does not apply by itself; RunFileDialog
// (ui/FileDialogOptions) applies them around ExecuteFileDialog.
enum FileDialogOption : unsigned {
  ofOverwritePrompt = 1u << 0,   // ask before an existing file is chosen for saving
  ofCreatePrompt = 1u << 1,      // ask before a file that does not exist is chosen
  ofNoReadOnlyReturn = 1u << 2,  // refuse a read-only file
  ofPathMustExist = 1u << 3,     // refuse a name whose folder does not exist
  ofFileMustExist = 1u << 4,     // refuse a name that does not exist
};

// A file dialog as the window describes it. `Filter` uses the "description|masks|..." form with
// masks separated by ";".
struct FileDialogRequest {
  enum class Kind { Open, Save };
  Kind DialogKind = Kind::Open;
  QString Title;
  QString Filter;
  int FilterIndex = 1;  // 1-based, as the window's dialogs count
  bool MultiSelect = false;
  QString InitialDir;
  QString FileName;
  // The label of the button that accepts; empty: the platform's "Open" or "Save".
  QString AcceptLabel;
  // Given to a name typed without an extension when the selected filter names none (e.g. ".ico").
  QString DefaultExt;
  unsigned Options = 0;  // FileDialogOption flags
};

// A check box shown with a folder browser: its label; its state in and, when the folder is
// chosen, out.
struct FolderOption {
  QString Label;
  bool Checked = false;
};

struct FileDialogAnswer {
  QStringList Files;    // in the order the dialog returns them
  int FilterIndex = 1;  // the filter chosen, 1-based
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // False when the user cancels.
  virtual bool ExecuteFileDialog(QWidget* parent, const FileDialogRequest& request,
                                 FileDialogAnswer& answer) = 0;
  // The folder browser: false on cancel; `folder` in: the folder to preselect (may be empty).
  // With an `option`, the browser also shows its check box.
  virtual bool BrowseForFolder(QWidget* parent, const QString& prompt, const QString& root,
                               QString& folder, FolderOption* option) = 0;
  // The default error box: error icon and an OK button.
  virtual void ShowError(QWidget* parent, const QString& title, const QString& message) = 0;
  // A question with Yes and No buttons; true for Yes. Enter answers `defaultAnswer`. Without a
  // person to ask: No.
  enum class Answer { No, Yes };
  virtual bool Confirm(QWidget* /*parent*/, const QString& /*title*/, const QString& /*question*/,
                       Answer /*defaultAnswer*/) {
    return false;
  }
  // A warning with an OK button, e.g. a file dialog refusing a name.
  virtual void ShowNotice(QWidget* /*parent*/, const QString& /*title*/,
                          const QString& /*message*/) {}
  // A line of text asked with `label`, `text` in: the proposal, out: the answer. False on cancel
  // and without a person to ask.
  virtual bool AskText(QWidget* /*parent*/, const QString& /*title*/, const QString& /*label*/,
                       QString& /*text*/) {
    return false;
  }
  // Shows `dialog` modally and returns when it is closed.
  virtual void ShowModal(QDialog& dialog) = 0;
  // Opens a document with the desktop's default viewer; false when none could open it.
  virtual bool OpenDocument(const QUrl& /*document*/) { return false; }
  // Shows the program's manual (a Markdown file); false when it cannot be read.
  virtual bool ShowManual(QWidget* parent, const QString& manualPath);
};

// The real dialogs.
class QtDialogs : public Dialogs {
 public:
  bool ExecuteFileDialog(QWidget* parent, const FileDialogRequest& request,
                         FileDialogAnswer& answer) override;
  bool BrowseForFolder(QWidget* parent, const QString& prompt, const QString& root, QString& folder,
                       FolderOption* option) override;
  void ShowError(QWidget* parent, const QString& title, const QString& message) override;
  bool Confirm(QWidget* parent, const QString& title, const QString& question,
               Answer defaultAnswer) override;
  void ShowNotice(QWidget* parent, const QString& title, const QString& message) override;
  bool AskText(QWidget* parent, const QString& title, const QString& label, QString& text) override;
  void ShowModal(QDialog& dialog) override;
  bool OpenDocument(const QUrl& document) override;
  bool ShowManual(QWidget* parent, const QString& manualPath) override;
};

// Qt's name filters for a "description|masks|..." filter: "description (mask mask)". The mask
// "*.*" becomes "*", which also matches names without a dot. The dialog shows the description
// only, so a description that names its masks does not show them twice.
QStringList NameFiltersOf(const QString& filter);

// The 1-based place of the filter a Qt dialog answers as selected among `nameFilters`
// (NameFiltersOf), 1 when none matches. Some Qt versions answer the filter as shown, its masks
// hidden: "Icon(*.ico)" for "Icon(*.ico) (*.ico)".
int FilterIndexOf(const QStringList& nameFilters, const QString& selected);

}  // namespace pictarix
