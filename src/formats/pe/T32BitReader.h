#pragma once
// The reader of 32-bit (PE) modules: every group-icon resource becomes one icon named after the
// resource. The module is opened as data through the platform's module-resource interface.
#include <filesystem>
#include <functional>
#include <memory>

#include "formats/ICLReader.h"
#include "formats/pe/ModuleResources.h"

namespace pictarix {

using TModuleOpener =
    std::function<std::unique_ptr<TModuleResources>(const std::filesystem::path& fileName)>;
// The platform's default message beep.
using TBeep = std::function<void()>;

class T32BitReader : public TICLReader {
 public:
  // Opens modules with OpenModuleAsData. `beep` sounds for every group named "#<number>".
  explicit T32BitReader(std::filesystem::path fileName, TBeep beep = {});
  T32BitReader(std::filesystem::path fileName, TModuleOpener opener, TBeep beep = {});

  // EICLReadError when the module cannot be opened; otherwise its icons, also none. A group
  // that cannot be fetched, or that lists an image the module lacks, is left out; groups left
  // out because the module's read limit was reached are counted in LeftOut().
  std::vector<TIconEntry> ReadIcons(const TProgress& progress) override;

 private:
  TModuleOpener opener_;
  TBeep beep_;
};

}  // namespace pictarix
