#include "ui/dialogs/DetailsPictures.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_map>

#include <QApplication>
#include <QStyle>

#include "imaging/RgbaPicture.h"
#include "ui/dialogs/DetailsDialog.h"
#include "ui/list/IconImages.h"

namespace pictarix {

namespace {

std::string_view HeldBytes(const IconImage& image) {
  const auto& bytes = image.Bytes();
  return {reinterpret_cast<const char*>(bytes.data()),
          std::min<std::size_t>(image.BytesInRes, bytes.size())};
}

}  // namespace

DetailsPictures::DetailsPictures(IconImageList& images, CannotDecode cannotDecode)
    : images_(images), cannotDecode_(std::move(cannotDecode)), cache_(kCacheKiB) {
  std::unordered_map<std::string_view, int> firstWith;
  for (int i = 0; i < images_.Count(); ++i) {
    const IconImage& image = *images_.Get(i);
    distinct_.push_back(firstWith.try_emplace(HeldBytes(image), i).first->second);
    const ImageSize size = SizeWithin(RealImageSize(image), kMaxSide);
    cellSizes_.emplace_back(size.Width, size.Height);
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
    picture = ImageToRgbaWithin(*images_.Get(key), kMaxSide);
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
  auto pixmap = std::make_unique<QPixmap>(OverCheckerboard(shown, shown.size()));
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
  cell.text = index.data(Qt::DisplayRole).toString();
  cell.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
  cell.decorationSize = pictures_.CellSize(index.row());
  const QWidget* widget = option.widget;
  const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  return style->sizeFromContents(QStyle::CT_ItemViewItem, &cell, QSize(), widget);
}

}  // namespace pictarix
