#include "imaging/HiResIcon.h"

namespace pictarix {

void IconGraphic::SetHandle(IconHandle handle) {
  handle_ = std::move(handle);
  Changed();
}

void IconGraphic::Changed() {
  SizeStale = true;
}

void IconGraphic::UpdateSize() {
  if (!SizeStale) return;
  SizeStale = false;
  if (!handle_) return;  // keep the last known size
  // The platform measures the colour bitmap's width (or the mask's, for monochrome icons) and
  // uses it for both sides.
  Width = handle_->Width;
  Height = handle_->Width;
}

int IconGraphic::GetWidth() {
  UpdateSize();
  return Width;
}

int IconGraphic::GetHeight() {
  UpdateSize();
  return Height;
}

void IconGraphic::Draw(RgbaCanvas& canvas, const IconRect& rect) {
  UpdateSize();
  if (handle_) DrawIcon(canvas, rect.Left, rect.Top, *handle_);
}

}  // namespace pictarix
