#include "imaging/HiResIcon.h"

namespace pictarix {

void THiResIcon::SetHandle(IconHandle handle) {
  handle_ = std::move(handle);
  Changed();
}

void THiResIcon::Changed() {
  SizeStale = true;
}

void THiResIcon::UpdateSize() {
  if (!SizeStale) return;
  SizeStale = false;
  if (!handle_) return;  // keep the last known size
  // The platform measures the colour bitmap's width (or the mask's, for monochrome icons) and
  // uses it for both sides.
  Width = handle_->Width;
  Height = handle_->Width;
}

int THiResIcon::GetWidth() {
  UpdateSize();
  return Width;
}

int THiResIcon::GetHeight() {
  UpdateSize();
  return Height;
}

void THiResIcon::Draw(RgbaCanvas& canvas, const IconRect& rect) {
  UpdateSize();
  if (handle_) DrawIcon(canvas, rect.Left, rect.Top, *handle_);
}

}  // namespace pictarix
