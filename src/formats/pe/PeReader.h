#pragma once
// The reader of 32-bit (PE) modules: every group-icon resource becomes one icon named after the
// resource. The module is opened as data through the platform's module-resource interface.
#include <filesystem>
#include <functional>
#include <memory>

#include "formats/ICLReader.h"
#include "formats/pe/ModuleResources.h"

namespace pictarix {

using ModuleOpener =
    std::function<std::unique_ptr<ModuleResources>(const std::filesystem::path& fileName)>;
// The platform's default message beep.
using Beep = std::function<void()>;

class PeReader : public IconLibraryReader {
 public:
  // Opens modules with OpenModuleAsData. `beep` sounds for every group named "#<number>".
  explicit PeReader(std::filesystem::path fileName, Beep beep = {});
  PeReader(std::filesystem::path fileName, ModuleOpener opener, Beep beep = {});

  // IconLibraryError when the module cannot be opened; otherwise its icons, also none. A group
  // that cannot be fetched, or that lists an image the module lacks, is left out; groups left
  // out because the module's read limit was reached are counted in LeftOut().
  std::vector<IconEntry> ReadIcons(const ProgressCallback& progress) override;

 private:
  ModuleOpener opener_;
  Beep beep_;
};

}  // namespace pictarix
