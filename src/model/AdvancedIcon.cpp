#include "model/AdvancedIcon.h"

namespace pictarix {

void AdvancedIcon::Assign(const AdvancedIcon& source) {
  if (&source == this) return;  // clearing first would destroy the source
  Kind = source.Kind;
  Frames = source.Frames;
  Images.Clear();
  Images.SetCapacity(source.Images.Count());
  for (int i = 0; i < source.Images.Count(); ++i) {
    if (const IconImage* image = source.Images.Get(i)) Images.Add(IconImage::CreateCopy(*image));
  }
}

}  // namespace pictarix
