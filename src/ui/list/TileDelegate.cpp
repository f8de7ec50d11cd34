#include "ui/list/TileDelegate.h"

#include <algorithm>

#include <QApplication>
#include <QPainter>
#include <QTextLayout>

#include "ui/list/IconListModel.h"

namespace pictarix {

namespace {

constexpr int kMargin = 4;   // around the tile and the caption
constexpr int kTextGap = 3;  // between tile and caption

// The tile takes the selection's colour where it is drawn, as selected icons do.
void DrawSelectedTint(QPainter& painter, const QPointF& at, const QPixmap& tile, QColor tint) {
  tint.setAlphaF(0.4f);
  QPixmap tinted = tile;
  QPainter over(&tinted);
  over.setCompositionMode(QPainter::CompositionMode_SourceAtop);
  over.fillRect(tinted.rect(), tint);
  over.end();
  painter.drawPixmap(at, tinted);
}

// A cursor's tile carries "C", an animated one's "A", in a badge on its lower right corner,
// sized with the tile so that it reads at every size without hiding the picture.
void DrawKindMark(QPainter& painter, const QRect& tileArea, const QString& kind,
                  const QPalette& palette, QPalette::ColorGroup group) {
  if (kind.isEmpty()) return;
  const int side = std::clamp(tileArea.width() / 4, 12, 24);
  const QRectF badge(tileArea.right() + 1 - side, tileArea.bottom() + 1 - side, side, side);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(palette.color(group, QPalette::Base), 1.0));
  painter.setBrush(palette.color(group, QPalette::Highlight));
  painter.drawRoundedRect(badge.adjusted(0.5, 0.5, -0.5, -0.5), side / 4.0, side / 4.0);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(std::max(8, side * 3 / 4));
  painter.setFont(font);
  painter.setPen(palette.color(group, QPalette::HighlightedText));
  painter.drawText(badge, Qt::AlignCenter,
                   kind == QLatin1String("animated") ? QStringLiteral("A") : QStringLiteral("C"));
  painter.restore();
}

constexpr QChar kBreakHint(0x200B);  // zero width space: a place a line may break

// The caption with a break hint after each "_", "-" and "." and before a capital that follows a
// small letter, so that "PD32_LANDSCAPE" or "ShellFolderView" break between their words before
// they break inside one.
QString WithWordJoints(const QString& text) {
  QString hinted;
  hinted.reserve(text.size() * 2);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (i > 0 && c.isUpper() && text[i - 1].isLower()) hinted += kBreakHint;
    hinted += c;
    if ((c == QLatin1Char('_') || c == QLatin1Char('-') || c == QLatin1Char('.')) &&
        i + 1 < text.size())
      hinted += kBreakHint;
  }
  return hinted;
}

QString WithoutHints(QString line) {
  return line.remove(kBreakHint).trimmed();
}

// The lines `text` (with or without break hints) takes at `width`, at most three.
QStringList LaidOutLines(const QString& text, const QFont& font, int width, bool& whole) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  QStringList lines;
  qsizetype laidOut = 0;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid() && lines.size() < 3;
       line = layout.createLine()) {
    line.setLineWidth(width);
    lines << text.mid(line.textStart(), line.textLength());
    if (lines.size() <= 2) laidOut = line.textStart() + line.textLength();
  }
  layout.endLayout();
  whole = lines.size() <= 2 && laidOut == text.size();
  return lines;
}

}  // namespace

QStringList CaptionLines(const QString& text, const QFont& font, int width) {
  const QFontMetrics metrics(font);
  if (metrics.horizontalAdvance(text) <= width) return {text};
  // Between words when the caption fits so in two lines, else anywhere: whole beats tidy.
  bool whole = false;
  QStringList lines = LaidOutLines(WithWordJoints(text), font, width, whole);
  if (!whole) lines = LaidOutLines(text, font, width, whole);
  if (whole) {
    for (QString& line : lines) line = WithoutHints(line);
    return lines;
  }
  const QString rest = text.mid(lines.first().size()).trimmed();
  return {lines.first().trimmed(), metrics.elidedText(rest, Qt::ElideMiddle, width)};
}

TileDelegate::TileDelegate(IconListModel& model, QObject* parent)
    : QStyledItemDelegate(parent), model_(model) {}

QSize TileDelegate::CellSize(const QFontMetrics& metrics, int side) {
  const int width = std::max(side, metrics.horizontalAdvance(kTypicalName)) + 3 * kMargin;
  const int height = kMargin + side + kTextGap + 2 * metrics.lineSpacing() + 2 * kMargin;
  return {width, height};
}

QSize TileDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
  return CellSize(option.fontMetrics, side_);
}

void TileDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  const QWidget* widget = item.widget;
  QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  const bool selected = item.state.testFlag(QStyle::State_Selected);
  const QPalette::ColorGroup group =
      item.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
  const QRect cell = item.rect;
  painter->save();

  const QRect tileArea(cell.x() + (cell.width() - side_) / 2, cell.y() + kMargin, side_, side_);
  const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
  const QPixmap tile =
      model_.Pictures().Tile(index.data(IconListModel::kEntryIndexRole).toInt(), side_, ratio);
  if (!tile.isNull()) {
    const QSizeF size = tile.deviceIndependentSize();
    const QPointF at(tileArea.x() + (side_ - size.width()) / 2,
                     tileArea.y() + (side_ - size.height()) / 2);
    painter->drawPixmap(at, tile);
    if (selected)
      DrawSelectedTint(*painter, at, tile, item.palette.color(group, QPalette::Highlight));
  }
  DrawKindMark(*painter, tileArea, index.data(IconListModel::kKindRole).toString(), item.palette,
               group);

  const int textWidth = cell.width() - 2 * kMargin;
  const QStringList lines = CaptionLines(item.text, item.font, textWidth);
  int widest = 0;
  for (const QString& line : lines)
    widest = std::max(widest, item.fontMetrics.horizontalAdvance(line));
  const int lineHeight = item.fontMetrics.lineSpacing();
  const QRect textArea(cell.x() + (cell.width() - widest) / 2 - 2, tileArea.bottom() + 1 + kTextGap,
                       widest + 4, lineHeight * static_cast<int>(lines.size()));
  if (selected) painter->fillRect(textArea, item.palette.brush(group, QPalette::Highlight));
  painter->setFont(item.font);
  painter->setPen(item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QRect line(cell.x() + kMargin, textArea.y() + static_cast<int>(i) * lineHeight, textWidth,
                     lineHeight);
    painter->drawText(line, Qt::AlignHCenter | Qt::AlignTop, lines[i]);
  }
  if (item.state.testFlag(QStyle::State_HasFocus)) {
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(item);
    focus.rect = textArea;
    focus.backgroundColor =
        item.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
  }
  painter->restore();
}

}  // namespace pictarix
