#pragma once
// "Batch Save As": every selected entry into one folder, named by its position in the list.
#include <filesystem>

#include "harvest/TileList.h"
#include "output/EntrySelection.h"
#include "output/SaveFormat.h"

namespace pictarix {

// The folder, a separator unless its name already ends in one, the index in decimal and the
// extension written for `format`: "out" and 12 as JPEG give "out/12.jpg", "/" and 0 as icon
// give "/0.ico".
std::filesystem::path BatchFileName(const std::filesystem::path& folder, int index,
                                    SaveFormat format);

// Saves each selected entry, in the order given (the window gives list order), with SaveEntryAs
// as BatchFileName(folder, its position, format). Only the batch formats are written (icons, GIFs,
// bitmaps, JPEGs); PNG writes nothing. Existing files are replaced without a
// question. The first failure ends the batch and propagates; files written before it stay.
// Answers the number of files written.
int BatchSave(const EntrySelection& selected, const TileList& tiles,
              const std::filesystem::path& folder, SaveFormat format);

}  // namespace pictarix
