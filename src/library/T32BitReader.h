#pragma once
// The reader of 32-bit (PE) modules: every group-icon resource becomes one icon named after the
// resource. The module is opened as data through the platform's module-resource interface.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

#include "library/ICLReader.h"
#include "platform/ModuleResources.h"

namespace pictarix {

using TModuleOpener =
    std::function<std::unique_ptr<TModuleResources>(const std::filesystem::path& fileName)>;

class T32BitReader : public TICLReader {
 public:
  // Opens modules with OpenModuleAsData.
  T32BitReader(TIconLibrary& library, std::filesystem::path fileName);
  T32BitReader(TIconLibrary& library, std::filesystem::path fileName, TModuleOpener opener);

  // False when the module cannot be opened; otherwise true, also without group icons. A group
  // icon (or an image it lists) that cannot be fetched raises EResNotFound.
  bool ReadIcons() override;

  bool Loaded() const { return loaded_; }
  std::int32_t TotalIcons() const { return totalIcons_; }
  std::int32_t Counter() const { return counter_; }

  // The platform's default message beep, sounded for a group named "#<number>".
  static inline std::function<void()> MessageBeepHook = [] {};

 private:
  void ReadGroup(const ResourceName& name);

  TModuleOpener opener_;
  std::unique_ptr<TModuleResources> module_;  // released with the reader
  bool loaded_ = false;
  std::int32_t totalIcons_ = 0;
  std::int32_t counter_ = 0;
};

}  // namespace pictarix
