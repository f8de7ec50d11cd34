#include "ui/window/StatusNotice.h"

#include <algorithm>

#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace pictarix {

namespace {
constexpr int kMargin = 3;   // left of the message and right of the link
constexpr int kSpacing = 8;  // between the message and the link
}  // namespace

StatusNotice::StatusNotice(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("StatusNotice"));
  link_ = new QLabel(this);
  link_->setObjectName(QStringLiteral("StatusNoticeLink"));
  link_->setTextFormat(Qt::RichText);
  link_->setAccessibleName(QStringLiteral("Status notice"));
  link_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  connect(link_, &QLabel::linkActivated, this, [this] { ActivateLink(); });
  expiry_ = new QTimer(this);
  expiry_->setSingleShot(true);
  expiry_->setInterval(kShownMs);
  connect(expiry_, &QTimer::timeout, this, [this] {
    brief_.reset();
    Show();
  });
  hide();
}

void StatusNotice::ShowBriefly(Notice notice) {
  brief_ = std::move(notice);
  expiry_->start();
  Show();
}

void StatusNotice::ShowLasting(Notice notice) {
  lasting_ = std::move(notice);
  Show();
}

void StatusNotice::ClearLasting() {
  lasting_.reset();
  Show();
}

const StatusNotice::Notice* StatusNotice::Shown() const {
  if (brief_) return &*brief_;
  return lasting_ ? &*lasting_ : nullptr;
}

QString StatusNotice::Message() const {
  const Notice* shown = Shown();
  return shown != nullptr ? shown->Message : QString();
}

QString StatusNotice::LinkText() const {
  const Notice* shown = Shown();
  return shown != nullptr ? shown->Link : QString();
}

void StatusNotice::ActivateLink() {
  const Notice* shown = Shown();
  if (shown == nullptr || !shown->Action) return;
  // A copy: the action may show another notice in this one's place.
  const std::function<void()> action = shown->Action;
  action();
}

void StatusNotice::Show() {
  const Notice* shown = Shown();
  const QString link = LinkText();
  link_->setText(LinkMarkup(link));
  linkWidth_ = link.isEmpty() ? 0 : link_->sizeHint().width();  // as the label lays it out
  // A screen reader reaching the link hears the message it belongs to.
  link_->setAccessibleName(shown != nullptr ? Message() + QStringLiteral(": ") + link
                                            : QStringLiteral("Status notice"));
  link_->setToolTip(link);
  setToolTip(Message());
  setVisible(shown != nullptr);
  PlaceLink();
  updateGeometry();
  update();
  emit Changed();
}

QString StatusNotice::LinkMarkup(const QString& link) {
  return link.isEmpty() ? QString()
                        : QStringLiteral("<a href=\"notice\">%1</a>").arg(link.toHtmlEscaped());
}

QSize StatusNotice::sizeHint() const {
  const QString message = Message();
  // One pixel more: the advance is rounded, and the message must not be shortened when it fits.
  const int text = message.isEmpty() ? 0 : fontMetrics().horizontalAdvance(message) + 1 + kSpacing;
  return {kMargin + text + linkWidth_ + kMargin, fontMetrics().height()};
}

void StatusNotice::resizeEvent(QResizeEvent*) {
  PlaceLink();
}

void StatusNotice::PlaceLink() {
  const int width = std::min(linkWidth_, std::max(0, this->width() - 2 * kMargin));
  // Short of room the link is shortened at its end; its tooltip holds all of it.
  const QString link = LinkText();
  const int textWidth = link_->fontMetrics().horizontalAdvance(link);
  link_->setText(LinkMarkup(width >= linkWidth_
                                ? link
                                : link_->fontMetrics().elidedText(
                                      link, Qt::ElideRight, textWidth - (linkWidth_ - width))));
  link_->setGeometry(this->width() - kMargin - width, 0, width, height());
}

void StatusNotice::paintEvent(QPaintEvent*) {
  const QString message = Message();
  if (message.isEmpty()) return;
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  const QRect area(kMargin, 0, std::max(0, link_->x() - kSpacing - kMargin), height());
  painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(message, Qt::ElideMiddle, area.width()));
}

}  // namespace pictarix
