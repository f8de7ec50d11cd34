#pragma once
// "Save to Icon Library" and "Add to Icon Library": copies of the selected entries' icons in an
// icon library file.
#include <cstdint>
#include <filesystem>
#include <vector>

#include "output/EntrySelection.h"

namespace pictarix {

// Puts a copy of each selected entry's icon (in the order given; entries without an icon are
// skipped, as is an icon whose copy fails) into a new library,
// named by the library's count just before it ("0", "1", ...), and writes the library when it
// holds at least one icon; the file is replaced safely. The library is locked (FileLock) from
// its read to its replacement, so concurrent writers take turns and none loses another's icons.
// With `add` and an existing file, that file must be an icon library (IsIconLibraryFile) that
// loads: its icons come first, with their names, and the new names continue from their count.
// Anything else (a PE module, a 16-bit program, a text file, a failed read) raises
// PictarixError and nothing is written, as does a lock not had in time. Load errors, the library's
// limits (IconLibraryError) and write errors (FCreateError) propagate. Answers the number of icons
// written (0: no file). Cursors and animated cursors are no icons: they are left out, and
// `refused` (when given) receives them in the selection's order.
std::int32_t SaveEntriesToLibrary(const EntrySelection& selected,
                                  const std::filesystem::path& fileName, bool add,
                                  EntrySelection* refused = nullptr);

}  // namespace pictarix
