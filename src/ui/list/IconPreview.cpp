#include "ui/list/IconPreview.h"

#include <QPainter>

#include "imaging/HiResIcon.h"
#include "ui/list/IconImages.h"

namespace pictarix {

IconPreview::IconPreview(QWidget* parent) : QWidget(parent) {
  setFixedSize(kSide, kSide);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void IconPreview::ShowIcon(const IconGraphic& graphic) {
  // Only what fits the tile is ever shown.
  picture_ = graphic.Handle() ? ToQImage(*graphic.Handle(), kSide) : QImage();
  repaint_.Request();
}

void IconPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!picture_.isNull()) painter.drawImage(0, 0, picture_);
}

}  // namespace pictarix
