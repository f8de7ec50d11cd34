#pragma once
// Tiles dragged out of the list: each selected entry's icon is written as an icon file named
// after its caption into a private temporary folder, and the drag carries those files' URLs.
#include <vector>

#include <QString>
#include <QTemporaryDir>

class QMimeData;

namespace pictarix {

class THarvester;

// A file name made from a caption: characters that a file name cannot hold here or on Windows
// become "_", and a name that would be empty or a folder link becomes "icon".
QString FileNameOfCaption(const QString& caption);

class TTileDrag {
 public:
  explicit TTileDrag(THarvester& harvester);

  // Writes the entries' icons (each drag into a folder of its own, so that a drop still reading
  // an earlier drag's files keeps them) and answers their URLs; nullptr when none was written.
  QMimeData* MimeFor(const std::vector<int>& entries);

 private:
  THarvester& harvester_;
  QTemporaryDir folder_;  // created private to the user; removed with the window
  int drags_ = 0;
};

}  // namespace pictarix
