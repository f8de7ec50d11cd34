#pragma once
// Tiles dragged out of the list: each selected entry's icon is written as an icon file named
// after its caption into a private temporary folder, and the drag carries those files' URLs.
#include <memory>

#include "output/EntrySelection.h"

class QMimeData;

namespace pictarix {

class Harvester;
class LiveTempFolder;

class TileDrag {
 public:
  // The name of the drag folders in the temporary folder, followed by the window's process id.
  static constexpr const char* kFolderPrefix = "pictarix-drag-";

  // Removes the drag folders that windows no longer running left behind.
  explicit TileDrag(Harvester& harvester);
  ~TileDrag();

  // Writes the entries' icons (each drag into a folder of its own, so that a drop still reading
  // an earlier drag's files keeps them) and answers their URLs; nullptr when none was written.
  QMimeData* MimeFor(const EntrySelection& entries);

 private:
  Harvester& harvester_;
  // Made private to the user at the first drag; removed with the window.
  std::unique_ptr<LiveTempFolder> folder_;
  int drags_ = 0;
};

}  // namespace pictarix
