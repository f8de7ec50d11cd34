#include "ui/dialogs/AboutBox.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>

#include "ui/window/Artwork.h"

namespace pictarix {

HoverLabel::HoverLabel(const QString& text, const QUrl& target, QWidget* parent)
    : QLabel(text, parent), target_(target) {
  setCursor(Qt::PointingHandCursor);
  // Reached with Tab and opened with Enter or Space as with a click; focus shows as hovering.
  setFocusPolicy(Qt::StrongFocus);
  QFont underlined = font();
  underlined.setUnderline(true);
  setFont(underlined);
  SetColour(TextColour());
}

QColor HoverLabel::TextColour() {
  // The desktop's text colour (black on a light theme), so a dark theme keeps it readable.
  return QPalette().color(QPalette::Active, QPalette::WindowText);
}

void HoverLabel::SetColour(const QColor& colour) {
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, colour);
  setPalette(colours);
}

void HoverLabel::enterEvent(QEnterEvent* event) {
  SetColour(Qt::red);
  QLabel::enterEvent(event);
}

void HoverLabel::leaveEvent(QEvent* event) {
  SetColour(TextColour());
  QLabel::leaveEvent(event);
}

void HoverLabel::focusInEvent(QFocusEvent* event) {
  SetColour(Qt::red);
  QLabel::focusInEvent(event);
}

void HoverLabel::focusOutEvent(QFocusEvent* event) {
  SetColour(TextColour());
  QLabel::focusOutEvent(event);
}

void HoverLabel::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
    QDesktopServices::openUrl(target_);
    return;
  }
  QLabel::keyPressEvent(event);
}

void HoverLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    QDesktopServices::openUrl(target_);
  }
  QLabel::mouseReleaseEvent(event);
}

QString AboutDialog::VersionCaption() {
  const QStringList parts = QStringLiteral(PICTARIX_VERSION).split(QLatin1Char('.'));
  const int major = parts.value(0).toInt();
  const int minor = parts.value(1).toInt();
  const QString version = QString::asprintf("%d.%d", major, minor);
  return QString::asprintf("%s %s", kProductName.toUtf8().constData(),
                           version.toUtf8().constData());
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About"));
  setModal(true);
  // A box of fixed size: no maximise button, no resizing frame.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  auto* icon = new QLabel(this);
  icon->setPixmap(ProgramIcon(32));
  auto* title = new QLabel(kProductName, this);
  QFont big = title->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  title->setFont(big);
  auto* caption = new QLabel(VersionCaption(), this);
  link_ = new HoverLabel(QStringLiteral("www.example.org/pictarix"), QUrl(kWebPage), this);
  mail_ = new HoverLabel(kMailAddress, QUrl(QStringLiteral("mailto:") + kMailAddress), this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  ok->setFocus();  // Enter closes the box until the user tabs to a link
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  layout->addWidget(title, 0, 1);
  layout->addWidget(caption, 1, 1);
  layout->addWidget(link_, 2, 1);
  layout->addWidget(mail_, 3, 1);
  layout->addWidget(ok, 4, 0, 1, 2, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed-size box
  layout->activate();  // the window manager learns the fixed size before the box is mapped
}

}  // namespace pictarix
