#include "output/ExportImages.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <limits>
#include <new>
#include <optional>
#include <set>
#include <thread>

#include "imaging/RgbaPicture.h"
#include "model/Animation.h"
#include "os/Errors.h"
#include "os/SafeFile.h"
#include "output/CursorConfigFile.h"

namespace pictarix {

namespace {

// Files written to the disk together, at least and at most, and pictures made ahead of them.
constexpr std::size_t kLeastChunk = 64;
constexpr std::size_t kMostChunk = 256;
constexpr std::size_t kMadeAhead = 1024;

std::vector<int> SelectedImages(const IconImageList& images, const ExportSelection& selection) {
  std::vector<int> chosen;
  switch (selection.Which) {
    case ExportSelection::Mode::Every:
      for (int i = 0; i < images.Count(); ++i) chosen.push_back(i);
      break;
    case ExportSelection::Mode::Largest:
      if (const int best = LargestImageIndex(images); best >= 0) chosen.push_back(best);
      break;
    case ExportSelection::Mode::Size:
      if (const int best = ImageIndexForSize(images, selection.Size); best >= 0)
        chosen.push_back(best);
      break;
  }
  return chosen;
}

std::string SizeText(const ImageShape& shape) {
  return std::to_string(shape.Width) + "x" + std::to_string(shape.Height);
}

// The file name of an image of an animation frame (-1: of the icon itself), unique in its plan.
using ImageNamer = std::function<std::string(const IconImage& image, int frame)>;

std::string FramePart(int frame) {
  return frame < 0 ? "" : "-f" + std::to_string(frame);
}

// "<entry>[-f<frame>]-WxH-B.png", a repeat within the list numbered "-2", "-3", ...
ImageNamer PositionNamer(int entryIndex) {
  return [entry = std::to_string(entryIndex), used = std::set<std::string>()](
             const IconImage& image, int frame) mutable {
    const ImageShape shape = RealImageShape(image);
    const std::string base =
        entry + FramePart(frame) + "-" + SizeText(shape) + "-" + std::to_string(shape.Bits);
    std::string name = base + ".png";
    for (int repeat = 2; !used.insert(name).second; ++repeat)
      name = base + "-" + std::to_string(repeat) + ".png";
    return name;
  };
}

// The selected images of one list (the icon's or a frame's).
void PlanImages(const IconImageList& images, const ImageNamer& nameOf, int frame,
                const std::filesystem::path& folder, const ExportSelection& selection,
                std::vector<ExportItem>& plan) {
  // Names are given over all images, so an image keeps its name whichever images are chosen.
  std::vector<std::string> names;
  for (int i = 0; i < images.Count(); ++i) names.push_back(nameOf(*images.Get(i), frame));
  for (const int index : SelectedImages(images, selection))
    plan.push_back({index, folder / names[static_cast<std::size_t>(index)], frame, {}});
}

// The bytes of one planned file, or nothing when its image cannot be decoded. Reads the icon
// only, so that several threads may make the files of one icon.
std::optional<std::vector<std::uint8_t>> ItemBytes(const AdvancedIcon& icon,
                                                   const ExportItem& item) {
  if (item.Image < 0) return std::vector<std::uint8_t>(item.Text.begin(), item.Text.end());
  const IconImage* image = ItemImage(icon, item);
  return image == nullptr ? std::nullopt : ImagePngBytes(*image);
}

// One WriteEntryExports: the jobs, one per planned file in plan order, the threads that make
// their pictures, and the calling thread that writes them in chunks and reports each export.
class ExportRun {
 public:
  ExportRun(const std::vector<PlannedExport>& exports, const ExportDone& done)
      : exports_(exports), done_(done), jobs_(JobCount(exports)) {
    std::size_t j = 0;
    for (std::size_t e = 0; e < exports.size(); ++e)
      for (std::size_t i = 0; i < exports[e].Plan.size(); ++i, ++j) {
        jobs_[j].Export = e;
        jobs_[j].Item = i;
      }
  }

  void Run(int threads) {
    std::vector<std::jthread> workers;
    const ReleaseWorkers release{next_, written_};
    const auto workerCount =
        std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), jobs_.size());
    for (std::size_t t = 0; t < workerCount; ++t) workers.emplace_back([this] { MakePictures(); });
    Report(0);
    for (std::size_t first = 0; first < jobs_.size();) {
      first = WriteChunk(first);
      written_.store(first);
      written_.notify_all();
      Report(first);
    }
  }

 private:
  struct Job {
    std::size_t Export = 0;
    std::size_t Item = 0;
    std::optional<std::vector<std::uint8_t>> Bytes;
    std::optional<std::string> Failure;
    std::atomic<bool> Made{false};
  };

  // When the writing thread leaves, also through an exception, the workers take no new picture
  // and none waits for the writer any longer, so that they can be joined.
  struct ReleaseWorkers {
    std::atomic<std::size_t>& Next;
    std::atomic<std::size_t>& Written;
    ~ReleaseWorkers() {
      Next.store(std::numeric_limits<std::size_t>::max() / 2);
      Written.store(std::numeric_limits<std::size_t>::max() / 2);
      Written.notify_all();
    }
  };

  static std::size_t JobCount(const std::vector<PlannedExport>& exports) {
    std::size_t count = 0;
    for (const PlannedExport& entry : exports) count += entry.Plan.size();
    return count;
  }

  const ExportItem& ItemOf(const Job& job) const { return exports_[job.Export].Plan[job.Item]; }

  // Pictures are made in job order, at most kMadeAhead beyond the files written so far, so that
  // memory stays bounded however many files there are.
  void MakePictures() {
    for (std::size_t j = next_++; j < jobs_.size(); j = next_++) {
      for (std::size_t w = written_.load(); j >= w + kMadeAhead; w = written_.load())
        written_.wait(w);
      Job& job = jobs_[j];
      try {
        job.Bytes = ItemBytes(*exports_[job.Export].Icon, ItemOf(job));
        if (!job.Bytes) job.Failure = "the image cannot be decoded";
      } catch (const PictarixError& e) {
        job.Failure = e.what();
      } catch (const std::bad_alloc&) {
        job.Failure = "there is not enough memory for the picture";
      }
      job.Made.store(true);
      job.Made.notify_one();
    }
  }

  // Writes the files of the jobs from `first` on: at least kLeastChunk together, more when they
  // are already made. Answers where the chunk ended.
  std::size_t WriteChunk(std::size_t first) {
    std::size_t end = std::min(first + kLeastChunk, jobs_.size());
    for (std::size_t j = first; j < end; ++j) jobs_[j].Made.wait(false);
    while (end < jobs_.size() && end - first < kMostChunk && jobs_[end].Made.load()) ++end;

    std::vector<FileReplacement> files;
    std::vector<Job*> filed;
    for (std::size_t j = first; j < end; ++j) {
      if (!jobs_[j].Bytes) continue;
      files.push_back({ItemOf(jobs_[j]).Path, *jobs_[j].Bytes});
      filed.push_back(&jobs_[j]);
    }
    auto results = ReplaceFilesContents(files);
    for (std::size_t f = 0; f < filed.size(); ++f) {
      filed[f]->Failure = std::move(results[f]);
      filed[f]->Bytes.reset();
    }
    return end;
  }

  // Tells `done` of every export whose jobs all lie before `upTo`.
  void Report(std::size_t upTo) {
    while (reported_ < exports_.size() &&
           firstOfReported_ + exports_[reported_].Plan.size() <= upTo) {
      const std::size_t end = firstOfReported_ + exports_[reported_].Plan.size();
      std::vector<ExportFailure> failures;
      for (std::size_t j = firstOfReported_; j < end; ++j) {
        if (jobs_[j].Failure)
          failures.push_back({ItemOf(jobs_[j]).Image, ItemOf(jobs_[j]).Frame, *jobs_[j].Failure});
      }
      firstOfReported_ = end;
      done_(reported_++, std::move(failures));
    }
  }

  const std::vector<PlannedExport>& exports_;
  const ExportDone& done_;
  std::vector<Job> jobs_;  // never resized: the atomics stay where the threads see them
  std::atomic<std::size_t> next_{0};
  std::atomic<std::size_t> written_{0};
  std::size_t reported_ = 0;
  std::size_t firstOfReported_ = 0;  // the first job of export `reported_`
};

}  // namespace

bool ExportSelection::SelectsEntry(int entryIndex, const std::string& caption) const {
  if (Entries.empty() && Names.empty()) return true;
  return std::find(Entries.begin(), Entries.end(), entryIndex) != Entries.end() ||
         std::find(Names.begin(), Names.end(), caption) != Names.end();
}

const IconImage* ItemImage(const AdvancedIcon& icon, const ExportItem& item) {
  if (item.Image < 0) return nullptr;
  if (item.Frame < 0) return icon.Images.Get(item.Image);
  if (!icon.Frames || static_cast<std::size_t>(item.Frame) >= icon.Frames->Frames.size())
    return nullptr;
  return icon.Frames->Frames[static_cast<std::size_t>(item.Frame)]->Images.Get(item.Image);
}

namespace {

std::vector<ExportItem> PlanExport(const AdvancedIcon& icon, const ImageNamer& nameOf,
                                   const std::function<std::string()>& cursorName,
                                   const std::filesystem::path& folder,
                                   const ExportSelection& selection) {
  std::vector<ExportItem> plan;
  if (icon.Kind == EntryKind::Animated && icon.Frames) {
    for (std::size_t f = 0; f < icon.Frames->Frames.size(); ++f)
      PlanImages(icon.Frames->Frames[f]->Images, nameOf, static_cast<int>(f), folder, selection,
                 plan);
  } else {
    PlanImages(icon.Images, nameOf, -1, folder, selection, plan);
  }
  // Nothing to describe when no image is exported.
  if (icon.Kind != EntryKind::Icon && !plan.empty())
    plan.push_back({-1, folder / cursorName(), -1, CursorConfigText(icon, plan)});
  return plan;
}

}  // namespace

std::vector<ExportItem> PlanEntryExport(const AdvancedIcon& icon, int entryIndex,
                                        const std::filesystem::path& folder,
                                        const ExportSelection& selection) {
  return PlanExport(
      icon, PositionNamer(entryIndex), [&] { return std::to_string(entryIndex) + ".cursor"; },
      folder, selection);
}

std::vector<ExportItem> PlanCaptionExport(const AdvancedIcon& icon, const std::string& caption,
                                          const std::filesystem::path& folder,
                                          const ExportSelection& selection,
                                          UniqueFileNames& names) {
  // xcursorgen reads the file names of a cursor's ".cursor" file as single words.
  std::string stem = caption;
  if (icon.Kind != EntryKind::Icon) std::replace(stem.begin(), stem.end(), ' ', '_');
  const ImageNamer nameOf = [&](const IconImage& image, int frame) {
    return names.Take(stem, FramePart(frame) + "-" + SizeText(RealImageShape(image)), ".png");
  };
  return PlanExport(
      icon, nameOf, [&] { return names.Take(stem, "", ".cursor"); }, folder, selection);
}

std::vector<ExportFailure> WriteEntryExport(const AdvancedIcon& icon,
                                            const std::vector<ExportItem>& plan) {
  std::vector<ExportFailure> result;
  WriteEntryExports(
      {PlannedExport{&icon, plan}}, 1,
      [&](std::size_t, std::vector<ExportFailure> failures) { result = std::move(failures); });
  return result;
}

void WriteEntryExports(const std::vector<PlannedExport>& exports, int threads,
                       const ExportDone& done) {
  ExportRun(exports, done).Run(threads);
}

}  // namespace pictarix
