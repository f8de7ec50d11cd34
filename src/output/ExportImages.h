#pragma once
// "Export": the images of an entry's icon at their own size, with their transparency, as PNG
// files named after the entry, the image's real size and depth.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "model/AdvancedIcon.h"
#include "output/UniqueFileNames.h"

namespace pictarix {

// Which entries and which of their images are exported.
struct ExportSelection {
  enum class Mode {
    Every,    // every image of the icon
    Largest,  // the image with the most pixels (LargestImageIndex)
    Size,     // the smallest image reaching `Size` pixels on its larger side (ImageIndexForSize)
  };
  Mode Which = Mode::Every;
  int Size = 0;
  // Entries by list index and by caption; both empty: every entry; otherwise either matches.
  std::vector<int> Entries;
  std::vector<std::string> Names;

  bool SelectsEntry(int entryIndex, const std::string& caption) const;
};

// One file of an export: the image it comes from (an index into the icon's images, or into
// those of animation frame `Frame` when that is not -1) and the file's path; or, with Image -1,
// a text file holding `Text`.
struct ExportItem {
  int Image = 0;
  std::filesystem::path Path;
  int Frame = -1;
  std::string Text;
};

// The files exporting the entry numbered `entryIndex` writes into `folder`, in the icon's image
// order: "<entry>-<W>x<H>-<B>.png" with the image's real size and depth (RealImageShape: a
// PNG's bits per pixel from its header); a name met again among the entry's images gets "-2",
// "-3", ... before ".png" (counted over all its images, so an image's name does not depend on
// the selection).
// An animated cursor's images are those of each of its frames, in frame order, named
// "<entry>-f<frame>-<W>x<H>-<B>.png" and selected frame by frame. A cursor's or an animated
// cursor's export also writes "<entry>.cursor" (CursorConfigText), after its images (when any).
std::vector<ExportItem> PlanEntryExport(const AdvancedIcon& icon, int entryIndex,
                                        const std::filesystem::path& folder,
                                        const ExportSelection& selection);

// PlanEntryExport with the files named after the entry's caption, made a safe file name as tiles
// dragged out are named: "<caption>-<W>x<H>.png", "<caption>-f<frame>-<W>x<H>.png" and
// "<caption>.cursor", a cursor's with its caption's spaces made "_" (xcursorgen reads the names
// in the ".cursor" file as words). A name `names` has already handed out, for this entry or an
// earlier one (names made with UniqueFileNames::Repeat::Dashed), gets "-2", "-3", ... before its
// extension.
std::vector<ExportItem> PlanCaptionExport(const AdvancedIcon& icon, const std::string& caption,
                                          const std::filesystem::path& folder,
                                          const ExportSelection& selection, UniqueFileNames& names);

// The image a planned file comes from; null for a text file or an image the icon lacks.
const IconImage* ItemImage(const AdvancedIcon& icon, const ExportItem& item);

// One image that was not written, and why in plain words.
struct ExportFailure {
  int Image = 0;
  int Frame = -1;
  std::string Reason;
};

// Writes the planned files (a PNG image's stored bytes, any other image as an RGBA PNG), each
// replacing its file safely. An image that cannot be decoded or a file that cannot be written
// is left out and answered; the others are still written.
std::vector<ExportFailure> WriteEntryExport(const AdvancedIcon& icon,
                                            const std::vector<ExportItem>& plan);

// The planned files of one entry, for writing many entries at once.
struct PlannedExport {
  const AdvancedIcon* Icon = nullptr;
  std::vector<ExportItem> Plan;
};

// Told, on the calling thread and in the order of the exports, that every planned file of the
// export numbered `entry` has been written or failed (`failures`, in plan order).
using ExportDone = std::function<void(std::size_t entry, std::vector<ExportFailure> failures)>;

// WriteEntryExport for each entry: `threads` threads make the pictures while the calling thread
// writes those already made, a chunk at a time (ReplaceFilesContents), which costs the disk far
// less than one file after another. The icons are only read while this runs.
void WriteEntryExports(const std::vector<PlannedExport>& exports, int threads,
                       const ExportDone& done);

}  // namespace pictarix
