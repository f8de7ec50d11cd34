#include "output/LibraryCommands.h"

#include <exception>
#include <memory>
#include <string>
#include <system_error>

#include "formats/IconLibrary.h"
#include "os/Errors.h"
#include "os/FileLock.h"
#include "os/OutputPath.h"
#include "output/OutputFiles.h"

namespace pictarix {

namespace {

[[noreturn]] void RefuseTarget(const std::filesystem::path& fileName) {
  throw PictarixError("Cannot add to \"" + fileName.string() + "\": it is not an icon library");
}

// Loads the library that icons are added to. Only an icon library is rewritten: anything else
// would lose its content to a library of the new icons alone.
void LoadTarget(IconLibrary& library, const std::filesystem::path& fileName) {
  if (!IsIconLibraryFile(fileName)) RefuseTarget(fileName);
  if (library.LoadFromFile(fileName) != LoadOutcome::Loaded) RefuseTarget(fileName);
}

}  // namespace

std::int32_t SaveEntriesToLibrary(const EntrySelection& selected,
                                  const std::filesystem::path& fileName, bool add,
                                  EntrySelection* refused) {
  // Held from the read to the rename, so that a second writer adds to what this one wrote.
  const FileLock lock(ResolveOutputPath(fileName));
  IconLibrary library;
  std::error_code error;
  if (add && std::filesystem::exists(fileName, error)) LoadTarget(library, fileName);

  for (const SelectedEntry& picked : selected) {
    const ListEntry& entry = *picked.Entry;
    if (entry.Icon == nullptr) continue;
    if (entry.Icon->Kind != EntryKind::Icon) {
      if (refused != nullptr) refused->push_back(picked);
      continue;
    }
    try {
      auto copy = std::make_unique<AdvancedIcon>();
      copy->Assign(*entry.Icon);
      library.Icons.AddIcon(std::to_string(library.Icons.Count()), std::move(copy));
    } catch (const std::exception&) {
      // A copy that fails is left out; the others still go in.
    }
  }

  if (library.Icons.Count() == 0) return 0;
  SaveIconLibrary(library.Icons, fileName);
  return library.Icons.Count();
}

}  // namespace pictarix
