// The calls of the C interface on one entry and its images.
#include <climits>
#include <memory>

#include "capi/Boundary.h"
#include "capi/Handles.h"
#include "imaging/RgbaPicture.h"
#include "pictarix.h"

using pictarix::capi::CopyOut;
using pictarix::capi::Guarded;

namespace {

const pictarix::IconImage* ImageAt(const pictarix_entry* entry, int image) {
  if (!entry || !entry->Entry.Icon) return nullptr;
  const pictarix::IconImageList& images = entry->Entry.Icon->Images;
  return image >= 0 && image < images.Count() ? images.Get(image) : nullptr;
}

int KindNumber(pictarix::EntryKind kind) {
  switch (kind) {
    case pictarix::EntryKind::Cursor:
      return PICTARIX_KIND_CURSOR;
    case pictarix::EntryKind::Animated:
      return PICTARIX_KIND_ANIMATED;
    default:
      return PICTARIX_KIND_ICON;
  }
}

}  // namespace

extern "C" {

int pictarix_entry_get_info(const pictarix_entry* entry, pictarix_entry_info* info) {
  if (!entry || !info || !entry->Entry.Icon) return PICTARIX_INVALID;
  info->file = entry->FileText.c_str();
  info->caption = entry->Entry.Caption.c_str();
  info->kind = KindNumber(entry->Entry.Icon->Kind);
  info->image_count = entry->Entry.Icon->Images.Count();
  return PICTARIX_OK;
}

int pictarix_image_get_info(const pictarix_entry* entry, int image, pictarix_image_info* info) {
  const pictarix::IconImage* found = ImageAt(entry, image);
  if (!found || !info) return PICTARIX_INVALID;
  // The real size and depth, as list --json gives them and export names files.
  const pictarix::ImageShape real = pictarix::RealImageShape(*found);
  const bool png = pictarix::IsPngImage(*found);
  *info = pictarix_image_info{};
  info->width = real.Width;
  info->height = real.Height;
  info->bits = real.Bits;
  info->is_png = png ? 1 : 0;
  info->stored_width = found->Width;
  info->stored_height = found->Height;
  info->stored_colors = found->ColorCount;
  info->stored_planes = found->Planes;
  info->stored_bits = found->BitCount;
  info->stored_bytes = found->BytesInRes;
  if (found->Hotspot) {
    info->has_hotspot = 1;
    info->hotspot_x = found->Hotspot->X;
    info->hotspot_y = found->Hotspot->Y;
  }
  return PICTARIX_OK;
}

int pictarix_images_get_info(const pictarix_entry* entry, int first, int count,
                             pictarix_image_info* infos) {
  if (!infos || count < 0 || first < 0 || count > INT_MAX - first) return PICTARIX_INVALID;
  for (int i = 0; i < count; ++i) {
    const int status = pictarix_image_get_info(entry, first + i, &infos[i]);
    if (status != PICTARIX_OK) return status;
  }
  return PICTARIX_OK;
}

int pictarix_image_rgba(pictarix_entry* entry, int image, int* width, int* height,
                        unsigned char** pixels, size_t* size) {
  const pictarix::IconImage* found = ImageAt(entry, image);
  if (!found || !width || !height || !pixels || !size) return PICTARIX_INVALID;
  *pixels = nullptr;
  entry->Message.clear();
  return Guarded(&entry->Message, [&] {
    const auto picture = pictarix::ImageToRgba(*found);
    if (!picture) {
      entry->Message = "image " + std::to_string(image) + " cannot be decoded";
      return PICTARIX_ERROR;
    }
    *pixels = CopyOut(picture->Rgba);
    if (!*pixels) return PICTARIX_NO_MEMORY;
    *width = picture->Width;
    *height = picture->Height;
    *size = picture->Rgba.size();
    return PICTARIX_OK;
  });
}

int pictarix_image_png(pictarix_entry* entry, int image, unsigned char** png, size_t* size) {
  const pictarix::IconImage* found = ImageAt(entry, image);
  if (!found || !png || !size) return PICTARIX_INVALID;
  *png = nullptr;
  entry->Message.clear();
  return Guarded(&entry->Message, [&] {
    const auto bytes = pictarix::ImagePngBytes(*found);
    if (!bytes) {
      entry->Message = "image " + std::to_string(image) + " cannot be decoded";
      return PICTARIX_ERROR;
    }
    *png = CopyOut(*bytes);
    if (!*png) return PICTARIX_NO_MEMORY;
    *size = bytes->size();
    return PICTARIX_OK;
  });
}

int pictarix_pick_image(const pictarix_entry* entry, int size, int* image) {
  if (!entry || !entry->Entry.Icon || !image || size < 1) return PICTARIX_INVALID;
  *image = pictarix::ImageIndexForSize(entry->Entry.Icon->Images, size);
  return *image < 0 ? PICTARIX_ERROR : PICTARIX_OK;
}

int pictarix_largest_image(const pictarix_entry* entry, int* image) {
  if (!entry || !entry->Entry.Icon || !image) return PICTARIX_INVALID;
  *image = pictarix::LargestImageIndex(entry->Entry.Icon->Images);
  return *image < 0 ? PICTARIX_ERROR : PICTARIX_OK;
}

const char* pictarix_entry_message(const pictarix_entry* entry) {
  return entry ? entry->Message.c_str() : "no entry";
}

void pictarix_entry_free(pictarix_entry* entry) {
  delete entry;
}

}  // extern "C"
