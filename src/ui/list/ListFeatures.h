#pragma once
// What the list offers beyond its tiles and the output commands: the tile size (View > Tile
// Size, remembered), the filter box, the details of a tile, Export Images and dragging tiles
// out as icon files. Made by the window once its controls, menus and toolbar exist.
#include <memory>
#include <vector>

#include <QObject>
#include <QString>

class QAction;
class QActionGroup;
class QLineEdit;
class QTimer;

namespace pictarix {

class Dialogs;
class EmptyListHint;
class FilterCount;
class MainWindow;
class TileDelegate;
class TileDrag;

class ListFeatures : public QObject {
  Q_OBJECT

 public:
  static constexpr int kTileSizes[] = {32, 48, 64, 96, 128, 256};
  static inline const QString kTileSizeValue = QStringLiteral("TileSize");
  // Typing pauses this long before the list is filtered.
  static constexpr int kFilterDelayMs = 150;

  ListFeatures(MainWindow& window, Dialogs& dialogs);
  ~ListFeatures() override;

  int TileSize() const;
  // Shows tiles of `side` pixels (one of kTileSizes) and remembers it.
  void SetTileSize(int side);
  // One size up or down the list of sizes.
  void StepTileSize(int step);
  // Filters the list now by the filter box's text.
  void ApplyFilter();
  // The details dialog of the entry a row shows.
  void ShowDetails(int row);
  // The details of the current tile when it is selected, else of the first selected one.
  void ShowSelectedDetails();
  void ExportSelected();

  QLineEdit* FilterBox = nullptr;
  FilterCount* Count = nullptr;  // "4 of 197" beside the filter box
  EmptyListHint* Hint = nullptr;
  QAction* Details = nullptr;
  QAction* ExportImages = nullptr;  // in the Save menu and the context menu, Ctrl+E
  QAction* LargerTiles = nullptr;
  QAction* SmallerTiles = nullptr;
  std::vector<QAction*> TileSizeItems;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateMenuItems();
  void CreateFilterBox();
  void UpdateItems();
  void ApplyTileSize(int side);

  MainWindow& window_;
  Dialogs& dialogs_;
  TileDelegate* delegate_ = nullptr;
  std::unique_ptr<TileDrag> drag_;
  QTimer* filterDelay_ = nullptr;
};

}  // namespace pictarix
