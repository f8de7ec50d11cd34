#pragma once
// "Problems": the files the last run could not read, each with its reason.
#include <vector>

#include <QDialog>
#include <QString>

class QTreeWidget;

namespace pictarix {

struct UnreadableFile {
  QString Path;
  QString Reason;
};

class ProblemsDialog : public QDialog {
  Q_OBJECT

 public:
  ProblemsDialog(const std::vector<UnreadableFile>& files, QWidget* parent = nullptr);
  const QTreeWidget& List() const { return *list_; }

 private:
  QTreeWidget* list_ = nullptr;
};

}  // namespace pictarix
