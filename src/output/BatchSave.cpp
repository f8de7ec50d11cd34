#include "output/BatchSave.h"

#include <string>

#include "output/SaveEntry.h"

namespace pictarix {

namespace {

bool EndsInSeparator(const std::filesystem::path& folder) {
  const auto& name = folder.native();
  if (name.empty()) return false;
  const auto last = name.back();
  return last == std::filesystem::path::preferred_separator || last == '/';
}

}  // namespace

std::filesystem::path BatchFileName(const std::filesystem::path& folder, int index,
                                    SaveFormat format) {
  std::filesystem::path name = folder;
  if (!EndsInSeparator(folder)) name += std::filesystem::path::preferred_separator;
  name += std::to_string(index) + ExtFromFormat(format);
  return name;
}

int BatchSave(const EntrySelection& selected, const TileList& tiles,
              const std::filesystem::path& folder, SaveFormat format) {
  if (format == SaveFormat::Png) return 0;
  int written = 0;
  for (const SelectedEntry& picked : selected) {
    const std::filesystem::path name = BatchFileName(folder, picked.Position, format);
    if (SaveEntryAs(*picked.Entry, tiles, name, format)) ++written;
  }
  return written;
}

}  // namespace pictarix
