#pragma once
// One icon, cursor or animated cursor: an ordered list of images. Icon files and group-icon
// resources are read into it by formats/ico, cursors by formats/cur, animated cursors by
// formats/ani; icons are written by formats/ico/IconFileWriter.h.
#include <memory>

#include "model/IconImageList.h"

namespace pictarix {

// What an entry is. Everything read before cursors were is an icon.
enum class EntryKind { Icon, Cursor, Animated };

struct Animation;  // model/Animation.h

class AdvancedIcon {
 public:
  AdvancedIcon() = default;
  virtual ~AdvancedIcon() = default;
  AdvancedIcon(const AdvancedIcon&) = delete;
  AdvancedIcon& operator=(const AdvancedIcon&) = delete;

  // Becomes a deep copy of `source` (images of class IconImage, never decoded).
  virtual void Assign(const AdvancedIcon& source);

  EntryKind Kind = EntryKind::Icon;
  // An icon's or cursor's images; of an animated cursor, copies of the images of the frame its
  // first step shows (what its tile and the commands made for still images use).
  IconImageList Images;
  // Animated cursors only: frames and steps, never changed once read (copies share it).
  std::shared_ptr<const Animation> Frames;
};

}  // namespace pictarix
