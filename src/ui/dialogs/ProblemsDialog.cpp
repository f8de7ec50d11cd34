#include "ui/dialogs/ProblemsDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace pictarix {

ProblemsDialog::ProblemsDialog(const std::vector<UnreadableFile>& files, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Problems"));
  list_ = new QTreeWidget(this);
  list_->setAccessibleName(QStringLiteral("Files that could not be read"));
  list_->setColumnCount(2);
  list_->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Reason")});
  list_->setRootIsDecorated(false);
  list_->setTextElideMode(Qt::ElideMiddle);
  for (const UnreadableFile& file : files) {
    auto* row = new QTreeWidgetItem(list_, {file.Path, file.Reason});
    row->setToolTip(0, file.Path);
  }
  list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  list_->header()->setStretchLastSection(false);
  list_->resizeColumnToContents(1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  resize(640, 320);
}

}  // namespace pictarix
