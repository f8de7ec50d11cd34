#include "ui/list/EmptyListHint.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>

#include "ui/list/IconListModel.h"

namespace pictarix {

namespace {
constexpr int kMargin = 12;
}  // namespace

EmptyListHint::EmptyListHint(QAbstractItemView& view, const IconListModel& model,
                             std::function<bool()> running)
    : QObject(&view),
      view_(view),
      viewport_(view.viewport()),
      model_(model),
      running_(std::move(running)) {
  viewport_->installEventFilter(this);
}

QString EmptyListHint::Text() const {
  if (model_.rowCount() > 0 || running_()) return {};
  return model_.EntryCount() > 0 ? kFilteredText : kEmptyText;
}

bool EmptyListHint::eventFilter(QObject* watched, QEvent* event) {
  // The viewport is compared as it was: it has events while the view is being destroyed.
  if (event->type() == QEvent::Paint && watched == viewport_) {
    const QString text = Text();
    if (!text.isEmpty()) {
      // The background is drawn already and an empty view draws nothing over it.
      QPainter painter(viewport_);
      painter.setPen(view_.palette().color(QPalette::PlaceholderText));
      painter.drawText(viewport_->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin),
                       Qt::AlignCenter | Qt::TextWordWrap, text);
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace pictarix
