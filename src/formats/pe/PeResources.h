#pragma once
// Module resources read from a PE module's own resource directory, without the platform: the
// stand-in behind OpenModuleAsData. When the module opens, its headers are read and the first
// bytes of its resource directory (where the tables are) in one read; before the first fetch,
// the data of its group icons and of its icons in one read each. Lookups and fetches are then
// answered from memory; what lies outside those reads is read where it is needed.
#include <memory>

#include "formats/pe/ModuleResources.h"
#include "os/Stream.h"

namespace pictarix {

// Opens the PE module (PE32 or PE32+) held by `stream`; nothing when the stream holds no PE
// module. A module without a resource directory (or whose directory no section holds) opens and
// has no resources. Directories that loop, nest deeper than type/name/language, overlap their
// ancestors or point outside the resource section fail the lookup that meets them. The bytes
// fetched over the module's life stay within the file's read budget (platform/ReadBudget.h): a
// fetch beyond it finds nothing and is counted by FetchesOverReadLimit.
std::unique_ptr<ModuleResources> OpenModuleFromStream(std::unique_ptr<ByteStream> stream);

}  // namespace pictarix
