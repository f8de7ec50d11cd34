#pragma once
// One icon: an ordered list of images, loaded from an icon file or a group-icon resource and
// saved as an icon file.
#include <cstdint>
#include <filesystem>
#include <memory>

#include "model/IconImageList.h"
#include "platform/ByteCursor.h"
#include "platform/ModuleResources.h"
#include "platform/Stream.h"

namespace pictarix {

class THiResIcon;

class TAdvancedIcon {
 public:
  TAdvancedIcon() = default;
  virtual ~TAdvancedIcon() = default;
  TAdvancedIcon(const TAdvancedIcon&) = delete;
  TAdvancedIcon& operator=(const TAdvancedIcon&) = delete;

  // Becomes a deep copy of `source` (images of class TIconImage, never decoded).
  virtual void Assign(const TAdvancedIcon& source);
  // Replaces the images with those of the graphic written in its icon-file form.
  virtual void AssignGraphic(const THiResIcon& graphic);

  // Reads the 6-byte header; true only for reserved 0 and type 1, then sets `count` and sizes
  // the image list.
  bool ReadHeader(TStream& stream, std::uint16_t& count);
  // The same for a header at the start of `directory`.
  bool BeginImages(ByteCursor directory, std::uint16_t& count);
  // Append the images of one group-icon resource; false when its header is not an icon header.
  // A missing group or image resource raises EResNotFound.
  bool LoadFromResource(TModuleResources& module, std::uint16_t id);
  bool LoadFromResource(TModuleResources& module, const std::u16string& name);
  bool LoadFromResource(TModuleResources& module, const ResourceName& name);
  // Appends the images of an icon file whose header is at the stream's position (image offsets
  // count from position 0); leaves the stream after the directory.
  bool LoadFromStream(TStream& stream);
  // Replaces the images with those of an icon file; open errors raise EFOpenError.
  bool LoadFromFile(const std::filesystem::path& path);
  // Writes the icon as an icon file (nothing for an icon without images).
  void SaveToStream(TStream& stream) const;
  // Writes the icon file safely; an icon without images creates nothing.
  void SaveToFile(const std::filesystem::path& path) const;

  TIconImageList Images;
};

}  // namespace pictarix
