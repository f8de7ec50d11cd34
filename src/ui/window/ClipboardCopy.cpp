#include "ui/window/ClipboardCopy.h"

#include <algorithm>
#include <cstddef>

#include <QClipboard>

#include "os/Errors.h"
#include "ui/list/IconImages.h"

namespace pictarix {

QImage ToQImage(const RgbImage& picture) {
  const QImage image =
      PackedPixelsToQImage(picture.Width, picture.Height, picture.Rgb, 3, QImage::Format_RGB888);
  // The display's format: 32 bits per pixel, opaque.
  return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

void PutImageOnClipboard(QClipboard* clipboard, const QImage& picture) {
  if (clipboard == nullptr) throw PictarixError("Cannot open clipboard");
  clipboard->setImage(picture);
}

}  // namespace pictarix
