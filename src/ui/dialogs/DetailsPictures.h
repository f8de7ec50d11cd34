#pragma once
// The pictures of the Details dialog. Each image shows in a cell of its own size, one image pixel
// to one device pixel while that fits in kMaxSide device-independent pixels, else scaled down to
// them; its picture is made only when its cell is drawn: an icon of thousands of images,
// or of a few huge ones named thousands of times, costs the memory of the cells in view. Images
// with the same bytes share one picture, and a bounded cache keeps the pictures last drawn.
#include <functional>
#include <vector>

#include <QCache>
#include <QListWidgetItem>
#include <QPixmap>
#include <QStyledItemDelegate>

#include "model/IconImageList.h"

namespace pictarix {

class DetailsPictures {
 public:
  static constexpr int kMaxSide = 256;
  static constexpr int kCacheKiB = 32 * 1024;

  // Told, once per distinct image, the images whose picture cannot be made.
  using CannotDecode = std::function<void(const std::vector<int>& images)>;

  // Reads `images`, which must outlive this and stay unchanged; `pixelRatio` is the screen's
  // device pixels per device-independent pixel.
  DetailsPictures(IconImageList& images, CannotDecode cannotDecode, qreal pixelRatio = 1);

  // The size of the image's cell picture in device-independent pixels, from the size its data
  // states (no decoding).
  QSize CellSize(int image) const;
  // The image over a checkerboard at CellSize (its pixels at the ratio); null when it cannot be
  // decoded.
  QPixmap Picture(int image);

 private:
  IconImageList& images_;
  CannotDecode cannotDecode_;
  qreal pixelRatio_;
  int maxPixels_;              // kMaxSide in device pixels
  std::vector<int> distinct_;  // per image: the first image with the same bytes
  std::vector<QSize> cellSizes_;
  std::vector<bool> failed_;  // per distinct image
  QCache<int, QPixmap> cache_;
};

// A list item whose picture is asked of the pictures when the item is drawn.
class DetailsItem : public QListWidgetItem {
 public:
  DetailsItem(const QString& text, DetailsPictures& pictures, int image);
  QVariant data(int role) const override;

 private:
  DetailsPictures& pictures_;
  int image_;
};

// Sizes each cell from its picture's CellSize and its text, without making the picture.
class DetailsDelegate : public QStyledItemDelegate {
 public:
  DetailsDelegate(const DetailsPictures& pictures, QObject* parent);
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  const DetailsPictures& pictures_;
};

}  // namespace pictarix
