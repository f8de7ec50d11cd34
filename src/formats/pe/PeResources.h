#pragma once
// The resources of a PE module (PE32 or PE32+), read from its own resource directory as data:
// nothing of the module is ever executed or relocated. When the module opens, its headers are
// read and the first bytes of its resource directory (where the tables are) in one read; before
// the first fetch, the data of its group icons and of its icons in one read each. Lookups and
// fetches are then answered from memory; what lies outside those reads is read where it is
// needed.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "formats/pe/BlockCachedStream.h"
#include "formats/pe/PeImageLayout.h"
#include "formats/pe/PeResourceDirectory.h"
#include "formats/pe/PeResourceTypeIndex.h"
#include "formats/pe/ResourceName.h"
#include "os/ReadBudget.h"
#include "os/Stream.h"

namespace pictarix {

class PeResources {
 public:
  // The module held by `stream`; nothing when the stream holds no PE module. A module without a
  // resource directory (or whose directory no section holds) opens and has no resources.
  // Directories that loop, nest deeper than type/name/language, overlap their ancestors or
  // point outside the resource section fail the lookup that meets them. The bytes fetched over
  // the module's life stay within the file's read budget (os/ReadBudget.h): a fetch beyond it
  // finds nothing and is counted by FetchesOverReadLimit.
  static std::unique_ptr<PeResources> Open(std::unique_ptr<ByteStream> stream);

  PeResources(std::unique_ptr<ByteStream> stream, PeImageLayout layout,
              std::optional<FileRange> directoryExtent);
  PeResources(const PeResources&) = delete;
  PeResources& operator=(const PeResources&) = delete;

  // Names of every resource of `type`, in the order of the resource directory (string names
  // first, then integer ids ascending, as stored).
  std::vector<ResourceName> Names(std::uint16_t type);
  std::vector<ResourceName> GroupIconNames() { return Names(kResourceTypeGroupIcon); }
  // The bytes of one resource (its first language in directory order); string names match
  // case-insensitively. Nothing when the module has no such resource or it cannot be read.
  std::optional<std::vector<std::uint8_t>> Resource(std::uint16_t type, const ResourceName& name);
  // The number of group icons (a progress total).
  int IconCount() { return static_cast<int>(GroupIconNames().size()); }
  // How many fetches found nothing because the read limit was reached (the resource itself is
  // there): what a reader leaves out for this reason it must say.
  std::uint64_t FetchesOverReadLimit() const { return budget_.Refusals(); }

 private:
  // The names of `type`, their table entered on `path` (after the root). Nothing when the
  // module has no such type or the way there is broken.
  const PeResourceTypeIndex* TypeIndex(std::uint16_t type, ResourceDirectoryPath& path);
  const ResourceDirectoryTable* Root();
  std::optional<ResourceDataEntry> FirstLanguage(std::uint32_t languageTable,
                                                 ResourceDirectoryPath& path) const;
  // The file bytes from the first to the end of the last resource of `type`.
  std::optional<FileRange> DataSpan(std::uint16_t type);
  // Reads the data of the group icons and of the icons, each in one read, before the first
  // fetch: a module's icons are then fetched from memory.
  void PrefetchIcons();

  BlockCachedStream stream_;
  PeImageLayout layout_;
  std::optional<PeResourceDirectory> directory_;
  // Read once: the root and the names of the types asked for. Language tables are small and
  // read per lookup.
  bool rootRead_ = false;
  bool prefetched_ = false;
  std::optional<ResourceDirectoryTable> root_;
  std::map<std::uint16_t, std::optional<PeResourceTypeIndex>> types_;
  // Every fetched resource counts against it, over the module's life: entries that all point
  // at the same bytes (65535 icons of one group naming one large image) cannot multiply them.
  ReadBudget budget_;
};

}  // namespace pictarix
