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

int BatchSave(EntryList& list, const std::vector<int>& selected,
              const std::filesystem::path& folder, SaveFormat format) {
  if (format == SaveFormat::Png) return 0;
  int written = 0;
  for (const int index : selected) {
    if (SaveEntryAs(list, BatchFileName(folder, index, format), index, format)) ++written;
  }
  return written;
}

}  // namespace pictarix
