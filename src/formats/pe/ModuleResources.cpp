#include "formats/pe/ModuleResources.h"

#include "formats/pe/PeResources.h"
#include "os/Errors.h"
#include "os/Stream.h"

namespace pictarix {

std::unique_ptr<ModuleResources> OpenModuleAsData(const std::filesystem::path& path) {
  std::unique_ptr<ByteStream> stream;
  try {
    stream = std::make_unique<FileStream>(path);
  } catch (const FOpenError&) {
    return nullptr;  // a file that cannot be opened cannot be loaded as a module either
  }
  return OpenModuleFromStream(std::move(stream));
}

}  // namespace pictarix
