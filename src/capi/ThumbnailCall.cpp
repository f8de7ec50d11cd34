// The thumbnailer's picture through the C interface.
#include <string>

#include "capi/Boundary.h"
#include "pictarix.h"
#include "thumbnailer/FirstIcon.h"
#include "thumbnailer/Thumbnail.h"
#include "thumbnailer/ThumbnailArguments.h"

using pictarix::capi::CopyOut;
using pictarix::capi::Guarded;

extern "C" {

int pictarix_thumbnail_png(const char* path, int size, unsigned char** png, size_t* png_size,
                           char** message) {
  if (message) *message = nullptr;
  if (!path || !png || !png_size || size < 1 || size > pictarix::thumbnailer::kMaxSize)
    return PICTARIX_INVALID;
  *png = nullptr;
  std::string text;
  const int status = Guarded(&text, [&] {
    const auto icon = pictarix::thumbnailer::LoadFirstIcon(path);
    if (!icon) {
      text = std::string("no icon in ") + path;
      return PICTARIX_NO_ICON;
    }
    const auto bytes = pictarix::thumbnailer::ThumbnailPng(*icon, size);
    if (!bytes) {
      text = std::string("the icon's image cannot be read in ") + path;
      return PICTARIX_ERROR;
    }
    *png = CopyOut(*bytes);
    if (!*png) return PICTARIX_NO_MEMORY;
    *png_size = bytes->size();
    return PICTARIX_OK;
  });
  if (status != PICTARIX_OK && message) *message = CopyOut(text.empty() ? "failed" : text);
  return status;
}

}  // extern "C"
