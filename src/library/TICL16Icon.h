#pragma once
// An icon read from a 16-bit NE file, and its images.
#include <string>

#include "model/AdvancedIcon.h"
#include "model/IconImage.h"
#include "model/IconRecords.h"
#include "platform/Stream.h"

namespace pictarix {

class T16BitReader;

// An image made from the first 12 bytes of a group directory entry and a data block.
class TICL16IconImage : public TIconImage {
 public:
  TICL16IconImage(const IconEntryFields& fields, ImageData block);
};

class TICL16Icon : public TAdvancedIcon {
 public:
  // Loads group entry `index` of the reader: names the icon "<BaseName> 001" style, reads the
  // group directory and every image it lists. An invalid directory header or a length of 0
  // gives an icon without images; every other fault raises.
  void LoadGroup(T16BitReader& reader, int index);
  // Reads the next 14-byte entry of `directory` and the image it names.
  void LoadImage(T16BitReader& reader, TStream& directory);

  // The file-based name: BaseName, a blank, and the 1-based index with at least three digits.
  std::string Name;
};

}  // namespace pictarix
