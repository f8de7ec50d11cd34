#pragma once
// Dialogs answered by the test: queued answers, recorded requests.
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include <QString>
#include <QStringList>

#include "ui/Dialogs.h"

namespace pictarix::testing {

class FakeDialogs : public TDialogs {
 public:
  struct Error {
    QString Title;
    QString Message;
  };

  bool ExecuteFileDialog(QWidget*, const TFileDialogRequest& request,
                         TFileDialogAnswer& answer) override {
    FileRequests.push_back(request);
    if (FileAnswers.empty() || !FileAnswers.front()) {
      if (!FileAnswers.empty()) FileAnswers.pop_front();
      return false;
    }
    answer.Files = *FileAnswers.front();
    FileAnswers.pop_front();
    return true;
  }

  bool BrowseForFolder(QWidget*, const QString& prompt, const QString& root,
                       QString& folder) override {
    FolderPrompts.push_back(prompt);
    FolderRoots.push_back(root);
    if (FolderAnswers.empty() || !FolderAnswers.front()) {
      if (!FolderAnswers.empty()) FolderAnswers.pop_front();
      return false;
    }
    folder = *FolderAnswers.front();
    FolderAnswers.pop_front();
    return true;
  }

  void ShowError(QWidget*, const QString& title, const QString& message) override {
    Errors.push_back({title, message});
  }

  void ShowModal(QDialog& dialog) override {
    ++ModalCount;
    if (OnModal) OnModal(dialog);
  }

  // nullopt answers "cancel".
  std::deque<std::optional<QStringList>> FileAnswers;
  std::deque<std::optional<QString>> FolderAnswers;
  std::vector<TFileDialogRequest> FileRequests;
  std::vector<QString> FolderPrompts;
  std::vector<QString> FolderRoots;
  std::vector<Error> Errors;
  int ModalCount = 0;
  std::function<void(QDialog&)> OnModal;
};

}  // namespace pictarix::testing

QT_BEGIN_NAMESPACE
// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
