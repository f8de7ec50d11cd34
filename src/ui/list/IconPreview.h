#pragma once
// IconPreview: the fixed 34x34 tile that shows the icon just harvested, drawn at its own size
// from the top-left corner, neither centred nor stretched.
#include <QImage>
#include <QWidget>

#include "ui/window/PacedUpdate.h"

namespace pictarix {

class IconGraphic;

class IconPreview : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kSide = 34;

  explicit IconPreview(QWidget* parent = nullptr);

  // The tile keeps its own copy of the icon's picture.
  void ShowIcon(const IconGraphic& graphic);
  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  PacedUpdate repaint_{*this};
  QImage picture_;
};

}  // namespace pictarix
