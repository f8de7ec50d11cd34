#include "output/ExportImages.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <set>
#include <thread>

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

// Writes one planned file; the reason when it cannot be written. Reads the icon only, so that
// several threads may write the files of one icon.
std::optional<std::string> WriteItem(const TAdvancedIcon& icon, const TExportItem& item) {
  const TIconImage* image = icon.Images.Get(item.Image);
  const auto bytes = image == nullptr ? std::nullopt : ImagePngBytes(*image);
  if (!bytes) return "the image cannot be decoded";
  try {
    ReplaceFileContents(item.Path, *bytes);
  } catch (const EPictarixError& e) {
    return e.what();
  }
  return std::nullopt;
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

std::vector<TExportFailure> WriteEntryExport(const TAdvancedIcon& icon,
                                             const std::vector<TExportItem>& plan) {
  std::vector<TExportFailure> failures;
  for (const TExportItem& item : plan) {
    if (auto reason = WriteItem(icon, item)) failures.push_back({item.Image, std::move(*reason)});
  }
  return failures;
}

std::vector<std::vector<TExportFailure>> WriteEntryExports(const std::vector<TEntryExport>& exports,
                                                           int threads) {
  struct Job {
    std::size_t Export = 0;
    std::size_t Item = 0;
    std::optional<std::string> Failure;
  };
  std::vector<Job> jobs;
  for (std::size_t e = 0; e < exports.size(); ++e)
    for (std::size_t i = 0; i < exports[e].Plan.size(); ++i) jobs.push_back({e, i, {}});

  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t j = next++; j < jobs.size(); j = next++) {
      const TEntryExport& entry = exports[jobs[j].Export];
      jobs[j].Failure = WriteItem(*entry.Icon, entry.Plan[jobs[j].Item]);
    }
  };
  {
    std::vector<std::jthread> workers;
    const auto count =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), jobs.size());
    for (std::size_t t = 1; t < count; ++t) workers.emplace_back(work);
    work();
  }

  std::vector<std::vector<TExportFailure>> failures(exports.size());
  for (Job& job : jobs) {
    if (job.Failure)
      failures[job.Export].push_back(
          {exports[job.Export].Plan[job.Item].Image, std::move(*job.Failure)});
  }
  return failures;
}

}  // namespace pictarix
