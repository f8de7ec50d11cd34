#include "thumbnailer/FirstIcon.h"

#include "formats/IconLibrary.h"
#include "formats/ico/IconFileReader.h"
#include "formats/pe/PeReader.h"
#include "formats/pe/PeResources.h"
#include "os/Stream.h"

namespace pictarix::thumbnailer {
namespace {

// A PE module as its reader sees it, with only its first group icon: the others (hundreds in a
// system library) would be read for nothing.
class FirstGroupOnly : public ModuleResources {
 public:
  explicit FirstGroupOnly(std::unique_ptr<ModuleResources> module) : module_(std::move(module)) {}

  std::vector<ResourceName> EnumResourceNames(std::uint16_t type) override {
    auto names = module_->EnumResourceNames(type);
    if (type == kResourceTypeGroupIcon && names.size() > 1) names.resize(1);
    return names;
  }
  std::optional<std::vector<std::uint8_t>> FindResource(std::uint16_t type,
                                                        const ResourceName& name) override {
    return module_->FindResource(type, name);
  }
  int IconCount() override { return module_->IconCount(); }

 private:
  std::unique_ptr<ModuleResources> module_;
};

class FirstGroupLibrary : public IconLibrary {
 protected:
  std::unique_ptr<IconLibraryReader> CreateReader(const std::filesystem::path& fileName,
                                                  bool is32Bit) override {
    if (!is32Bit) return IconLibrary::CreateReader(fileName, is32Bit);
    auto held = std::make_shared<std::unique_ptr<ByteStream>>(TakeOpenStream(fileName));
    return std::make_unique<PeReader>(
        fileName, [held](const std::filesystem::path&) -> std::unique_ptr<ModuleResources> {
          auto module = OpenModuleFromStream(std::move(*held));
          if (!module) return nullptr;
          return std::make_unique<FirstGroupOnly>(std::move(module));
        });
  }
};

// The window lists no icon without images.
std::unique_ptr<AdvancedIcon> FirstWithImages(const IconList& icons) {
  for (int i = 0; i < icons.Count(); ++i) {
    const AdvancedIcon& icon = icons.Icon(i);
    if (icon.Images.Count() == 0) continue;
    auto first = std::make_unique<AdvancedIcon>();
    first->Assign(icon);
    return first;
  }
  return nullptr;
}

bool HasIcoExtension(const std::filesystem::path& file) {
  std::string extension = file.extension().string();
  for (char& c : extension) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return extension == ".ico";
}

}  // namespace

std::unique_ptr<AdvancedIcon> LoadFirstIcon(const std::filesystem::path& file) {
  // One open, without waiting: a FIFO or device could block the file manager's thumbnail queue.
  const std::unique_ptr<FileStream> stream = FileStream::OpenIfRegular(file);
  if (!stream) return nullptr;
  FirstGroupLibrary library;
  const LoadOutcome loaded =
      library.LoadFromStream(file, std::make_unique<BorrowedStream>(*stream));
  if (auto icon = FirstWithImages(library.Icons)) return icon;
  if (loaded == LoadOutcome::Loaded) {
    // A first group without images, or one left out as damaged: the icon is in a later one.
    IconLibrary whole;
    whole.LoadFromStream(file, std::make_unique<BorrowedStream>(*stream));
    return FirstWithImages(whole.Icons);
  }
  if (!HasIcoExtension(file)) return nullptr;
  auto icon = std::make_unique<AdvancedIcon>();
  stream->Seek(0);
  ReadIconFile(*stream, *icon);
  if (icon->Images.Count() == 0) return nullptr;
  return icon;
}

}  // namespace pictarix::thumbnailer
