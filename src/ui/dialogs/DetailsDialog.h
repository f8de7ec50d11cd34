#pragma once
// The details of one entry: every image of its icon at its own size (scaled down to at most 256
// pixels) over a checkerboard, with size, bit depth, bytes and whether it is stored as PNG; the
// entry's name and file. The chosen image can be saved as a PNG or copied to the clipboard, both
// with its transparency. A cursor's images show their hotspots; an animated cursor plays at the
// top, above its frames.
#include <memory>
#include <vector>

#include <QString>

#include <QDialog>

#include "model/AdvancedIcon.h"
#include "ui/dialogs/Dialogs.h"

class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QListWidget;
class QPushButton;

namespace pictarix {

struct ListEntry;
class CursorPlayer;
class DetailsPictures;

class DetailsDialog : public QDialog {
  Q_OBJECT

 public:
  // Keeps its own copy of the entry's icon: the list may change while the dialog is open.
  DetailsDialog(const ListEntry& entry, Dialogs& dialogs, QWidget* parent = nullptr);
  ~DetailsDialog() override;

  // Frames' images listed at most, beyond the first frame's.
  static constexpr int kMaxListedImages = 512;

  QListWidget* Images() const { return images_; }
  // The player of an animated cursor; nullptr for other entries.
  CursorPlayer* Player() const { return player_; }
  // The chosen image, or -1.
  int ChosenImage() const;
  // Saves the chosen image as a PNG under a name the file dialog asks for.
  void SaveChosen();
  // Puts the chosen image on the clipboard as PNG (and as an image for programs without PNG).
  void CopyChosen();

  // The line shown under an image: "48 x 48, 32 bits, 9640 bytes, PNG".
  static QString ImageText(const IconImage& image);

 private:
  // The player, the facts of an animated cursor and its frames to list; a note when some frames
  // are not listed, else nullptr.
  QLabel* CreatePlayer(QFormLayout& facts);
  // The list of the icon's images (of an animated cursor, its frames' images).
  void CreateImages();
  // Sized for its cells, within the available area of the screen it opens on.
  void FitScreen();
  // Close, Save and Copy, the last two enabled while an image is chosen; Save and Copy also in
  // the images' context menu.
  QDialogButtonBox* CreateButtons();
  // Adds "This image cannot be decoded." to the texts of `images`.
  void MarkUndecodable(const std::vector<int>& images);

  Dialogs& dialogs_;
  std::unique_ptr<AdvancedIcon> icon_;
  IconImageList frames_;              // an animated cursor's listed frame images
  std::vector<QString> frameLabels_;  // per image of frames_
  IconImageList* listed_ = nullptr;   // the images the list shows: the icon's or frames_
  CursorPlayer* player_ = nullptr;
  std::unique_ptr<DetailsPictures> pictures_;
  QString caption_;
  QListWidget* images_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* copy_ = nullptr;
  FileDialogRequest saveRequest_;
};

// The picture over a checkerboard, so that its transparent parts show as such.
QPixmap OverCheckerboard(const QImage& picture, const QSize& area);

}  // namespace pictarix
