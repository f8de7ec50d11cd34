#include "ui/window/Artwork.h"

#include <functional>

#include <QPainter>
#include <QPainterPath>

namespace pictarix {

namespace {

using Drawing = std::function<void(QPainter&)>;

QPixmap Draw(int side, const Drawing& drawing) {
  QPixmap pixmap(side, side);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(side / 16.0, side / 16.0);
  drawing(painter);
  return pixmap;
}

const QColor kOutline(40, 40, 40);
const QColor kFolder(232, 186, 60);
const QColor kPaper(250, 250, 250);
const QColor kBlue(44, 98, 196);
const QColor kRed(200, 40, 40);
const QColor kGreen(40, 150, 60);

void Sheet(QPainter& p, QRectF rect) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(kPaper);
  p.drawRect(rect);
}

void Folder(QPainter& p) {
  p.setPen(QPen(kOutline, 1));
  p.setBrush(kFolder.darker(115));
  p.drawRect(QRectF(1.5, 3.5, 5, 2));
  p.setBrush(kFolder);
  p.drawRect(QRectF(1.5, 5.5, 13, 8));
}

void Cross(QPainter& p, QRectF box, const QColor& colour) {
  p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(box.topLeft(), box.bottomRight());
  p.drawLine(box.topRight(), box.bottomLeft());
}

void SmallTiles(QPainter& p) {
  p.setPen(Qt::NoPen);
  const QColor colours[] = {kBlue, kRed, kGreen, kFolder};
  for (int i = 0; i < 4; ++i) {
    p.setBrush(colours[i]);
    p.drawRect(QRectF(2 + (i % 2) * 6, 2 + (i / 2) * 6, 5, 5));
  }
}

// Index order is what the menus and the toolbar address.
const Drawing kGlyphs[ButtonArtwork::kCount] = {
    // 0: copy
    [](QPainter& p) {
      Sheet(p, QRectF(1.5, 1.5, 9, 10));
      Sheet(p, QRectF(5.5, 4.5, 9, 10));
    },
    // 1: information
    [](QPainter& p) {
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      p.drawEllipse(QRectF(1, 1, 14, 14));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(7, 7, 2, 5));
      p.drawEllipse(QRectF(7, 3.5, 2, 2));
    },
    // 2: select all
    [](QPainter& p) {
      SmallTiles(p);
      p.setPen(QPen(kOutline, 1, Qt::DotLine));
      p.setBrush(Qt::NoBrush);
      p.drawRect(QRectF(0.5, 0.5, 15, 15));
    },
    // 3: invert selection
    [](QPainter& p) {
      p.setPen(QPen(kOutline, 1));
      p.setBrush(kBlue);
      p.drawRect(QRectF(1.5, 1.5, 6, 13));
      p.setBrush(kPaper);
      p.drawRect(QRectF(8.5, 1.5, 6, 13));
    },
    // 4: clear (an eraser)
    [](QPainter& p) {
      p.setPen(QPen(kOutline, 1));
      p.setBrush(QColor(240, 130, 150));
      QPolygonF eraser;
      eraser << QPointF(1.5, 10.5) << QPointF(8.5, 3.5) << QPointF(14.5, 9.5) << QPointF(9.5, 14.5)
             << QPointF(5.5, 14.5);
      p.drawPolygon(eraser);
      p.drawLine(QPointF(5, 7), QPointF(11, 13));
    },
    // 5: remove
    [](QPainter& p) {
      SmallTiles(p);
      Cross(p, QRectF(7, 7, 7, 7), kRed);
    },
    // 6: exit (a door with an arrow)
    [](QPainter& p) {
      p.setPen(QPen(kOutline, 1));
      p.setBrush(QColor(150, 100, 60));
      p.drawRect(QRectF(1.5, 1.5, 7, 13));
      p.setPen(QPen(kGreen, 2));
      p.drawLine(QPointF(6, 8), QPointF(14, 8));
      p.drawLine(QPointF(11, 5), QPointF(14, 8));
      p.drawLine(QPointF(11, 11), QPointF(14, 8));
    },
    // 7: help
    [](QPainter& p) {
      p.setPen(Qt::NoPen);
      p.setBrush(kGreen);
      p.drawEllipse(QRectF(1, 1, 14, 14));
      p.setPen(QPen(Qt::white, 2));
      QPainterPath question;
      question.moveTo(5.5, 6);
      question.cubicTo(5.5, 2.5, 10.5, 2.5, 10.5, 6);
      question.cubicTo(10.5, 8, 8, 8, 8, 10);
      p.setBrush(Qt::NoBrush);
      p.drawPath(question);
      p.drawPoint(QPointF(8, 12.5));
    },
    // 8: open a directory
    [](QPainter& p) { Folder(p); },
    // 9: save (a diskette)
    [](QPainter& p) {
      p.setPen(QPen(kOutline, 1));
      p.setBrush(kBlue);
      p.drawRect(QRectF(1.5, 1.5, 13, 13));
      p.setBrush(kPaper);
      p.drawRect(QRectF(4.5, 1.5, 7, 5));
      p.setBrush(QColor(200, 200, 200));
      p.drawRect(QRectF(3.5, 9.5, 9, 5));
    },
    // 10: add to an icon library (a book with a plus)
    [](QPainter& p) {
      p.setPen(QPen(kOutline, 1));
      p.setBrush(QColor(120, 60, 140));
      p.drawRect(QRectF(1.5, 1.5, 9, 13));
      p.setPen(QPen(kGreen, 2));
      p.drawLine(QPointF(12, 7), QPointF(12, 14));
      p.drawLine(QPointF(8.5, 10.5), QPointF(15.5, 10.5));
    },
    // 11: open files
    [](QPainter& p) {
      Sheet(p, QRectF(3.5, 1.5, 10, 13));
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      p.drawRect(QRectF(5.5, 4, 6, 6));
    },
};

}  // namespace

ButtonArtwork::ButtonArtwork() {
  for (const Drawing& drawing : kGlyphs) glyphs_.push_back(Draw(kSide, drawing));
}

QPixmap StopGlyph() {
  return Draw(16, [](QPainter& p) {
    p.setPen(QPen(kRed.darker(130), 1));
    p.setBrush(kRed);
    QPolygonF octagon;
    for (const auto& [x, y] : {std::pair{5.0, 1.0},
                               {11.0, 1.0},
                               {15.0, 5.0},
                               {15.0, 11.0},
                               {11.0, 15.0},
                               {5.0, 15.0},
                               {1.0, 11.0},
                               {1.0, 5.0}}) {
      octagon << QPointF(x, y);
    }
    p.drawPolygon(octagon);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(4, 7, 8, 2));
  });
}

QPixmap ProgramIcon(int side) {
  return Draw(side, [](QPainter& p) {
    // A magnifier over a grid of tiles: finding icons.
    SmallTiles(p);
    p.setPen(QPen(kOutline, 1.5));
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawEllipse(QRectF(6, 6, 7, 7));
    p.setPen(QPen(kOutline, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 12), QPointF(15, 15));
  });
}

}  // namespace pictarix
