#include "ui/dialogs/ManualViewer.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/dialogs/ClearButton.h"

namespace pictarix {

namespace {

const char* const kViewerName = "manualViewer";

}  // namespace

ManualViewer::ManualViewer(const QString& manualPath, QWidget* parent)
    : QDialog(parent),
      browser_(new QTextBrowser(this)),
      findBar_(new QWidget(this)),
      findBox_(new QLineEdit(findBar_)),
      findResult_(new QLabel(findBar_)) {
  setObjectName(QLatin1String(kViewerName));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Pictarix Manual"));
  setSizeGripEnabled(true);
  // Links out of the manual go to the desktop; links inside it stay here.
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(true);
  browser_->setAccessibleName(QStringLiteral("Manual"));
  browser_->setSource(QUrl::fromLocalFile(manualPath), QTextDocument::MarkdownResource);

  findBox_->setPlaceholderText(QStringLiteral("Find in the manual"));
  findBox_->setAccessibleName(QStringLiteral("Find in the manual"));
  ShowNamedClearButton(*findBox_, QStringLiteral("Clear"));
  auto* next = new QPushButton(QStringLiteral("Next"), findBar_);
  auto* previous = new QPushButton(QStringLiteral("Previous"), findBar_);
  auto* barLayout = new QHBoxLayout(findBar_);
  barLayout->setContentsMargins(0, 0, 0, 0);
  barLayout->addWidget(findBox_, 1);
  barLayout->addWidget(previous);
  barLayout->addWidget(next);
  barLayout->addWidget(findResult_);
  findBar_->hide();
  connect(findBox_, &QLineEdit::returnPressed, this, [this] { FindNext(); });
  connect(findBox_, &QLineEdit::textEdited, this, [this] { findResult_->clear(); });
  connect(next, &QPushButton::clicked, this, [this] { FindNext(); });
  connect(previous, &QPushButton::clicked, this, [this] { FindNext(true); });

  auto* find = new QAction(this);
  find->setShortcut(QKeySequence::Find);
  connect(find, &QAction::triggered, this, &ManualViewer::OpenFindBar);
  addAction(find);
  auto* findAgain = new QAction(this);
  findAgain->setShortcut(QKeySequence::FindNext);
  connect(findAgain, &QAction::triggered, this, [this] { FindNext(); });
  addAction(findAgain);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_, 1);
  layout->addWidget(findBar_);
  resize(760, 640);
}

bool ManualViewer::Show(const QString& manualPath, QWidget* parent) {
  if (!QFileInfo(manualPath).isReadable()) return false;
  auto* viewer = parent ? parent->findChild<ManualViewer*>(QLatin1String(kViewerName),
                                                           Qt::FindDirectChildrenOnly)
                        : nullptr;
  if (viewer == nullptr) viewer = new ManualViewer(manualPath, parent);  // deleted on close
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
  return true;
}

bool ManualViewer::FindNext(bool backwards) {
  const QString text = findBox_->text();
  if (text.isEmpty()) return false;
  const QTextDocument::FindFlags flags =
      backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  bool found = browser_->find(text, flags);
  if (!found) {
    // Once around: from the other end of the manual.
    QTextCursor cursor = browser_->textCursor();
    cursor.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    browser_->setTextCursor(cursor);
    found = browser_->find(text, flags);
  }
  findResult_->setText(found ? QString() : QStringLiteral("Not found"));
  return found;
}

void ManualViewer::OpenFindBar() {
  findBar_->show();
  findBox_->setFocus();
  findBox_->selectAll();
}

void ManualViewer::CloseFindBar() {
  findBar_->hide();
  browser_->setFocus();
}

void ManualViewer::keyPressEvent(QKeyEvent* event) {
  // Esc closes the find bar first, the viewer only when the bar is hidden.
  if (event->key() == Qt::Key_Escape && findBar_->isVisible()) {
    CloseFindBar();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace pictarix
