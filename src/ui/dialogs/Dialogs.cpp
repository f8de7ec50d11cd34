#include "ui/dialogs/Dialogs.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

#include "ui/dialogs/ManualViewer.h"

namespace pictarix {

QStringList NameFiltersOf(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList result;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList masks = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& mask : masks) {
      if (mask == QLatin1String("*.*")) mask = QStringLiteral("*");
    }
    result << QStringLiteral("%1 (%2)").arg(parts[i], masks.join(QLatin1Char(' ')));
  }
  return result;
}

int FilterIndexOf(const QStringList& nameFilters, const QString& selected) {
  if (const qsizetype exact = nameFilters.indexOf(selected); exact >= 0) {
    return static_cast<int>(exact) + 1;
  }
  const QString shownPrefix = selected + QStringLiteral(" (");
  for (qsizetype i = 0; i < nameFilters.size(); ++i) {
    if (nameFilters[i].startsWith(shownPrefix)) return static_cast<int>(i) + 1;
  }
  return 1;
}

bool QtDialogs::ExecuteFileDialog(QWidget* parent, const FileDialogRequest& request,
                                  FileDialogAnswer& answer) {
  QFileDialog dialog(parent, request.Title, request.InitialDir);
  const QStringList filters = NameFiltersOf(request.Filter);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(filters);
  if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size()) {
    dialog.selectNameFilter(filters[request.FilterIndex - 1]);
  }
  if (request.DialogKind == FileDialogRequest::Kind::Save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The replace question comes from RunFileDialog, after the default extension is given.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.MultiSelect ? QFileDialog::ExistingFiles
                                           : QFileDialog::ExistingFile);
  }
  if (!request.AcceptLabel.isEmpty()) dialog.setLabelText(QFileDialog::Accept, request.AcceptLabel);
  if (!request.FileName.isEmpty()) dialog.selectFile(request.FileName);
  if (dialog.exec() != QDialog::Accepted) return false;
  answer.Files = dialog.selectedFiles();
  answer.FilterIndex = FilterIndexOf(filters, dialog.selectedNameFilter());
  return !answer.Files.isEmpty();
}

bool QtDialogs::BrowseForFolder(QWidget* parent, const QString& prompt, const QString& root,
                                QString& folder, FolderOption* option) {
  const QString start = folder.isEmpty() ? root : folder;
  if (option == nullptr) {
    const QString chosen = QFileDialog::getExistingDirectory(parent, prompt, start);
    if (chosen.isEmpty()) return false;
    folder = chosen;
    return true;
  }
  QFileDialog dialog(parent, prompt, start);
  dialog.setFileMode(QFileDialog::Directory);
  // Qt's own dialog, the one whose layout can take the check box.
  dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  auto* check = new QCheckBox(option->Label, &dialog);
  check->setChecked(option->Checked);
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
    grid->addWidget(check, grid->rowCount(), 0, 1, grid->columnCount());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  folder = dialog.selectedFiles().constFirst();
  option->Checked = check->isChecked();
  return !folder.isEmpty();
}

namespace {

// Messages quote captions and names from files: shown as plain text, never as markup.
void ShowPlainBox(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                  const QString& message) {
  QMessageBox box(icon, title, message, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

void QtDialogs::ShowError(QWidget* parent, const QString& title, const QString& message) {
  ShowPlainBox(parent, QMessageBox::Critical, title, message);
}

bool QtDialogs::Confirm(QWidget* parent, const QString& title, const QString& question,
                        Answer defaultAnswer) {
  const QMessageBox::StandardButton preset =
      defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No;
  return QMessageBox::warning(parent, title, question, QMessageBox::Yes | QMessageBox::No,
                              preset) == QMessageBox::Yes;
}

void QtDialogs::ShowNotice(QWidget* parent, const QString& title, const QString& message) {
  ShowPlainBox(parent, QMessageBox::Warning, title, message);
}

bool QtDialogs::AskText(QWidget* parent, const QString& title, const QString& label,
                        QString& text) {
  bool accepted = false;
  const QString answer =
      QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, &accepted);
  if (!accepted) return false;
  text = answer;
  return true;
}

void QtDialogs::ShowModal(QDialog& dialog) {
  dialog.exec();
}

bool Dialogs::ShowManual(QWidget* /*parent*/, const QString& manualPath) {
  return OpenDocument(QUrl::fromLocalFile(manualPath));
}

bool QtDialogs::OpenDocument(const QUrl& document) {
  return QDesktopServices::openUrl(document);
}

bool QtDialogs::ShowManual(QWidget* parent, const QString& manualPath) {
  return ManualViewer::Show(manualPath, parent);
}

}  // namespace pictarix
