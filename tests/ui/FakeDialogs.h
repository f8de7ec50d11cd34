#pragma once
// Dialogs answered by the test: queued answers, recorded requests.
#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include <QString>
#include <QStringList>
#include <QUrl>

#include "ui/dialogs/Dialogs.h"

namespace pictarix::testing {

// The next queued answer, taken off the queue; nothing (cancel) when the queue is empty or the
// answer is nullopt.
template <typename T>
std::optional<T> TakeAnswer(std::deque<std::optional<T>>& answers) {
  if (answers.empty()) return std::nullopt;
  std::optional<T> answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

class FakeDialogs : public Dialogs {
 public:
  // A message box as shown: error, question or notice.
  struct Box {
    QString Title;
    QString Message;
    Answer Preset = Answer::No;  // the answer Enter gives to a question
  };

  bool ExecuteFileDialog(QWidget*, const FileDialogRequest& request,
                         FileDialogAnswer& answer) override {
    FileRequests.push_back(request);
    std::optional<QStringList> files = TakeAnswer(FileAnswers);
    if (!files) return false;
    answer.Files = *files;
    answer.FilterIndex = request.FilterIndex;  // the filter stays as it was unless told
    if (!FilterAnswers.empty()) {
      answer.FilterIndex = FilterAnswers.front();
      FilterAnswers.pop_front();
    }
    return true;
  }

  bool BrowseForFolder(QWidget*, const QString& prompt, const QString& root, QString& folder,
                       FolderOption* option) override {
    FolderPrompts.push_back(prompt);
    FolderOptions.push_back(option ? std::optional<FolderOption>(*option) : std::nullopt);
    if (option && !OptionAnswers.empty()) {
      option->Checked = OptionAnswers.front();
      OptionAnswers.pop_front();
    }
    FolderRoots.push_back(root);
    FolderStarts.push_back(folder);
    std::optional<QString> chosen = TakeAnswer(FolderAnswers);
    if (!chosen) return false;
    folder = *chosen;
    return true;
  }

  void ShowError(QWidget*, const QString& title, const QString& message) override {
    Errors.push_back({title, message});
  }

  bool Confirm(QWidget*, const QString& title, const QString& question,
               Answer defaultAnswer) override {
    Questions.push_back({title, question, defaultAnswer});
    if (ConfirmAnswers.empty()) return true;
    const bool yes = ConfirmAnswers.front();
    ConfirmAnswers.pop_front();
    return yes;
  }

  void ShowNotice(QWidget*, const QString& title, const QString& message) override {
    Notices.push_back({title, message});
  }

  bool AskText(QWidget*, const QString& title, const QString& label, QString& text) override {
    TextQuestions.push_back({title, label + QLatin1Char('|') + text});
    std::optional<QString> typed = TakeAnswer(TextAnswers);
    if (!typed) return false;
    text = *typed;
    return true;
  }

  void ShowModal(QDialog& dialog) override {
    ++ModalCount;
    if (OnModal) OnModal(dialog);
  }

  bool OpenDocument(const QUrl& document) override {
    Documents.push_back(document);
    return !NoOpener;
  }

  // nullopt answers "cancel".
  std::deque<std::optional<QStringList>> FileAnswers;
  std::deque<int> FilterAnswers;    // 1-based filter chosen with each file answer
  std::deque<bool> ConfirmAnswers;  // Yes when none is left
  std::deque<std::optional<QString>> FolderAnswers;
  std::deque<bool> OptionAnswers;                  // a folder option's state as the user leaves it
  std::deque<std::optional<QString>> TextAnswers;  // nullopt answers "cancel"
  std::vector<FileDialogRequest> FileRequests;
  std::vector<QString> FolderPrompts;
  std::vector<QString> FolderRoots;
  std::vector<QString> FolderStarts;                       // the folder each browse began in
  std::vector<std::optional<FolderOption>> FolderOptions;  // the check box each browse showed
  std::vector<Box> Errors;
  std::vector<Box> Questions;
  std::vector<Box> Notices;
  std::vector<Box> TextQuestions;  // Message: "<label>|<proposed text>"
  std::vector<QUrl> Documents;
  bool NoOpener = false;  // no program opens a document
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
