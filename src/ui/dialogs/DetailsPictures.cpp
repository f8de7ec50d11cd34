#include "ui/dialogs/DetailsPictures.h"

#include <algorithm>
#include <map>
#include <new>
#include <optional>
#include <string_view>
#include <utility>

#include <QApplication>
#include <QStyle>

#include "imaging/RgbaPicture.h"
#include "ui/dialogs/DetailsDialog.h"
#include "ui/dialogs/HotspotMark.h"
#include "ui/list/IconImages.h"

namespace pictarix {

namespace {

std::string_view HeldBytes(const IconImage& image) {
  const auto& bytes = image.Bytes();
  return {reinterpret_cast<const char*>(bytes.data()),
          std::min<std::size_t>(image.BytesInRes, bytes.size())};
}

// Images share a picture when their bytes and their hotspots (the crosshair drawn) are the same.
std::pair<std::string_view, qint64> PictureKey(const IconImage& image) {
  const qint64 hotspot =
      image.Hotspot ? (qint64{image.Hotspot->X} << 16 | image.Hotspot->Y) : qint64{-1};
  return {HeldBytes(image), hotspot};
}

}  // namespace

DetailsPictures::DetailsPictures(IconImageList& images, CannotDecode cannotDecode, qreal pixelRatio)
    : images_(images),
      cannotDecode_(std::move(cannotDecode)),
      pixelRatio_(std::clamp<qreal>(pixelRatio, 1, 8)),
      maxPixels_(static_cast<int>(kMaxSide * pixelRatio_)),
      cache_(kCacheKiB) {
  std::map<std::pair<std::string_view, qint64>, int> firstWith;
  for (int i = 0; i < images_.Count(); ++i) {
    const IconImage& image = *images_.Get(i);
    distinct_.push_back(firstWith.try_emplace(PictureKey(image), i).first->second);
    const ImageSize size = SizeWithin(RealImageSize(image), maxPixels_);
    cellSizes_.push_back((QSizeF(size.Width, size.Height) / pixelRatio_).toSize());
  }
  failed_.assign(distinct_.size(), false);
}

QSize DetailsPictures::CellSize(int image) const {
  if (image < 0 || static_cast<std::size_t>(image) >= cellSizes_.size()) return {};
  return cellSizes_[static_cast<std::size_t>(image)];
}

QPixmap DetailsPictures::Picture(int image) {
  if (image < 0 || static_cast<std::size_t>(image) >= distinct_.size()) return {};
  const int key = distinct_[static_cast<std::size_t>(image)];
  if (failed_[static_cast<std::size_t>(key)]) return {};
  if (const QPixmap* cached = cache_.object(key)) return *cached;
  std::optional<RgbaPicture> picture;
  try {
    picture = ImageToRgbaWithin(*images_.Get(key), maxPixels_);
  } catch (const std::bad_alloc&) {
    picture.reset();
  }
  if (!picture) {
    failed_[static_cast<std::size_t>(key)] = true;
    std::vector<int> sharing;
    for (std::size_t i = 0; i < distinct_.size(); ++i) {
      if (distinct_[i] == key) sharing.push_back(static_cast<int>(i));
    }
    if (cannotDecode_) cannotDecode_(sharing);
    return {};
  }
  const QImage shown = ToQImage(*picture);
  QPixmap board = OverCheckerboard(shown, shown.size());
  const IconImage& source = *images_.Get(key);
  if (source.Hotspot) {
    const ImageSize real = RealImageSize(source);
    board = WithHotspot(board, board.rect(), QSize(real.Width, real.Height), *source.Hotspot);
  }
  board.setDevicePixelRatio(pixelRatio_);  // drawn one image pixel to one device pixel
  auto pixmap = std::make_unique<QPixmap>(std::move(board));
  const QPixmap result = *pixmap;
  const qsizetype cost = std::max<qsizetype>(1, result.width() * result.height() * 4 / 1024);
  cache_.insert(key, pixmap.release(), cost);  // the cache owns it from here
  return result;
}

DetailsItem::DetailsItem(const QString& text, DetailsPictures& pictures, int image)
    : QListWidgetItem(text), pictures_(pictures), image_(image) {}

QVariant DetailsItem::data(int role) const {
  if (role != Qt::DecorationRole) return QListWidgetItem::data(role);
  const QPixmap picture = pictures_.Picture(image_);
  return picture.isNull() ? QVariant() : QVariant(picture);
}

DetailsDelegate::DetailsDelegate(const DetailsPictures& pictures, QObject* parent)
    : QStyledItemDelegate(parent), pictures_(pictures) {}

QSize DetailsDelegate::sizeHint(const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  // As the standard delegate sizes a cell, with the picture's size instead of the picture.
  QStyleOptionViewItem cell(option);
  cell.index = index;
  const QString text = index.data(Qt::DisplayRole).toString();
  // Its lines as the delegate draws them, ended by line separators: a plain "\n" is no line end
  // to the style, which would measure the text wrapped at the cell's width, in a 256-pixel cell
  // fewer lines than drawn.
  cell.text = displayText(text, option.locale);
  cell.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
  const QWidget* widget = option.widget;
  const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  QSize decoration = pictures_.CellSize(index.row());
  // As wide as the longest line and the text's margins, so that no line of the text breaks.
  const int margins =
      2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1) + 2;
  for (const QString& line : text.split(QLatin1Char('\n'))) {
    decoration.setWidth(
        std::max(decoration.width(), option.fontMetrics.horizontalAdvance(line) + margins));
  }
  cell.decorationSize = decoration;
  return style->sizeFromContents(QStyle::CT_ItemViewItem, &cell, QSize(), widget);
}

}  // namespace pictarix
