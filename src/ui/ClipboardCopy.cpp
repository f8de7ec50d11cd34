#include "ui/ClipboardCopy.h"

#include <algorithm>
#include <cstddef>

#include <QClipboard>

#include "platform/Errors.h"

namespace pictarix {

QImage ToQImage(const RgbImage& picture) {
  const auto rowBytes = static_cast<std::size_t>(std::max(picture.Width, 0)) * 3;
  if (picture.Width <= 0 || picture.Height <= 0 ||
      picture.Rgb.size() < rowBytes * static_cast<std::size_t>(picture.Height)) {
    return QImage();
  }
  QImage image(picture.Width, picture.Height, QImage::Format_RGB888);
  for (int y = 0; y < picture.Height; ++y) {
    std::copy_n(picture.Rgb.data() + rowBytes * static_cast<std::size_t>(y), rowBytes,
                image.scanLine(y));
  }
  // The display's format: 32 bits per pixel, opaque.
  return image.convertToFormat(QImage::Format_RGB32);
}

void PutImageOnClipboard(QClipboard* clipboard, const QImage& picture) {
  if (clipboard == nullptr) throw EPictarixError("Cannot open clipboard");
  clipboard->setImage(picture);
}

}  // namespace pictarix
