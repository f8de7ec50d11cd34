#include "output/ExportImages.h"

#include <algorithm>
#include <set>

#include "output/RgbaPicture.h"
#include "platform/Errors.h"
#include "platform/SafeFile.h"

namespace pictarix {

namespace {

constexpr int kPngBitCount = 32;

std::vector<int> SelectedImages(const TIconImageList& images, const TExportSelection& selection) {
  std::vector<int> chosen;
  switch (selection.Which) {
    case TExportSelection::Mode::Every:
      for (int i = 0; i < images.Count(); ++i) chosen.push_back(i);
      break;
    case TExportSelection::Mode::Largest:
      if (const int best = LargestImageIndex(images); best >= 0) chosen.push_back(best);
      break;
    case TExportSelection::Mode::Size:
      if (const int best = ImageIndexForSize(images, selection.Size); best >= 0)
        chosen.push_back(best);
      break;
  }
  return chosen;
}

std::string BaseName(int entryIndex, const TIconImage& image) {
  const ImageSize size = RealImageSize(image);
  const int bits = IsPngImage(image) ? kPngBitCount : image.BitCount;
  return std::to_string(entryIndex) + "-" + std::to_string(size.Width) + "x" +
         std::to_string(size.Height) + "-" + std::to_string(bits);
}

}  // namespace

bool TExportSelection::SelectsEntry(int entryIndex, const std::string& caption) const {
  if (Entries.empty() && Names.empty()) return true;
  return std::find(Entries.begin(), Entries.end(), entryIndex) != Entries.end() ||
         std::find(Names.begin(), Names.end(), caption) != Names.end();
}

std::vector<TExportItem> PlanEntryExport(const TAdvancedIcon& icon, int entryIndex,
                                         const std::filesystem::path& folder,
                                         const TExportSelection& selection) {
  // Names are given over all images, so an image keeps its name whichever images are chosen.
  std::vector<std::string> names;
  std::set<std::string> used;
  for (int i = 0; i < icon.Images.Count(); ++i) {
    const std::string base = BaseName(entryIndex, *icon.Images.Get(i));
    std::string name = base + ".png";
    for (int repeat = 2; !used.insert(name).second; ++repeat)
      name = base + "-" + std::to_string(repeat) + ".png";
    names.push_back(std::move(name));
  }
  std::vector<TExportItem> plan;
  for (const int index : SelectedImages(icon.Images, selection))
    plan.push_back({index, folder / names[static_cast<std::size_t>(index)]});
  return plan;
}

std::vector<TExportFailure> WriteEntryExport(TAdvancedIcon& icon,
                                             const std::vector<TExportItem>& plan) {
  std::vector<TExportFailure> failures;
  for (const TExportItem& item : plan) {
    TIconImage* image = icon.Images.Get(item.Image);
    const auto bytes = image == nullptr ? std::nullopt : ImagePngBytes(*image);
    if (!bytes) {
      failures.push_back({item.Image, "the image cannot be decoded"});
      continue;
    }
    try {
      ReplaceFileContents(item.Path, *bytes);
    } catch (const EPictarixError& e) {
      failures.push_back({item.Image, e.what()});
    }
  }
  return failures;
}

}  // namespace pictarix
