#include "platform/ModuleResources.h"

namespace pictarix {

// The PE resource reader arrives with the 32-bit module reader; until then no module opens.
std::unique_ptr<TModuleResources> OpenModuleAsData(const std::filesystem::path&) { return nullptr; }

}  // namespace pictarix
