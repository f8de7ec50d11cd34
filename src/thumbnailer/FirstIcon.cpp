#include "thumbnailer/FirstIcon.h"

#include "library/IconLibrary.h"
#include "platform/Files.h"

namespace pictarix::thumbnailer {
namespace {

bool HasIcoExtension(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension == ".ico";
}

}  // namespace

std::unique_ptr<TAdvancedIcon> LoadFirstIcon(const std::filesystem::path& file) {
  // Opening a FIFO or a device could block the file manager's thumbnail queue.
  if (!IsRegularFile(file)) return nullptr;
  TIconLibrary library;
  library.LoadFromFile(file);
  for (int i = 0; i < library.Icons.Count(); ++i) {
    const TAdvancedIcon& icon = library.Icons.Icon(i);
    if (icon.Images.Count() == 0) continue;  // the window lists no icon without images
    auto first = std::make_unique<TAdvancedIcon>();
    first->Assign(icon);
    return first;
  }
  if (library.Icons.Count() > 0 || !HasIcoExtension(file)) return nullptr;
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->LoadFromFile(file);
  if (icon->Images.Count() == 0) return nullptr;
  return icon;
}

}  // namespace pictarix::thumbnailer
