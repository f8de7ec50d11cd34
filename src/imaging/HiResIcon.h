#pragma once
// IconGraphic: an icon graphic that measures and draws its handle at the handle's real size.
#include <memory>

#include "imaging/IconDraw.h"

namespace pictarix {

struct IconRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

class IconGraphic {
 public:
  static constexpr int kStandardIconSize = 32;  // the system's standard icon size

  IconGraphic() = default;
  virtual ~IconGraphic() = default;

  // Assigning a handle replaces the icon and marks the size stale.
  void SetHandle(IconHandle handle);
  const IconHandle& Handle() const { return handle_; }
  bool Empty() const { return handle_ == nullptr; }

  virtual void Changed();
  virtual void UpdateSize();
  int GetWidth();
  int GetHeight();
  // Draws at the real size from the rectangle's top-left corner, never stretched.
  virtual void Draw(RgbaCanvas& canvas, const IconRect& rect);

  int Height = kStandardIconSize;
  int Width = kStandardIconSize;
  bool SizeStale = false;

 private:
  IconHandle handle_;
};

}  // namespace pictarix
