#include "model/AdvancedIcon.h"

namespace pictarix {

void TAdvancedIcon::Assign(const TAdvancedIcon& source) {
  if (&source == this) return;  // clearing first would destroy the source
  Images.Clear();
  Images.SetCapacity(source.Images.Count());
  for (int i = 0; i < source.Images.Count(); ++i) {
    if (const TIconImage* image = source.Images.Get(i)) Images.Add(TIconImage::CreateCopy(*image));
  }
}

}  // namespace pictarix
