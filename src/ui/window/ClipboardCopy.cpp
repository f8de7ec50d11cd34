#include "ui/window/ClipboardCopy.h"

#include <algorithm>
#include <cstddef>

#include <memory>

#include <QClipboard>
#include <QMimeData>

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

void PutPngOnClipboard(QClipboard* clipboard, const std::vector<std::uint8_t>& png) {
  if (clipboard == nullptr) throw PictarixError("Cannot open clipboard");
  const QByteArray bytes(reinterpret_cast<const char*>(png.data()),
                         static_cast<qsizetype>(png.size()));
  auto data = std::make_unique<QMimeData>();
  data->setData(QStringLiteral("image/png"), bytes);
  data->setImageData(QImage::fromData(bytes, "PNG"));
  clipboard->setMimeData(data.release());  // the clipboard owns it from here
}

}  // namespace pictarix
