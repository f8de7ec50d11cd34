#pragma once
// A fresh window per test, over fresh settings, with entries made directly in its harvest.
#include <gtest/gtest.h>

#include <memory>

#include <QAction>
#include <QApplication>
#include <QListView>
#include <QPushButton>
#include <QSettings>
#include <QToolBar>

#include "harvest/Harvester.h"
#include "imaging/HiResIcon.h"
#include "support/HarvestFixtures.h"
#include "ui/FakeDialogs.h"
#include "ui/list/IconListModel.h"
#include "ui/window/MainWindow.h"
#include "ui/window/StatusPanels.h"

namespace pictarix::testing {

inline void ClearSettings() {
  QSettings settings(QSettings::UserScope, QStringLiteral("Wexlund"), QStringLiteral("Pictarix"));
  settings.clear();
  settings.sync();
}

// Appends `count` entries with plain 32x32 tiles and shows them in the list.
inline void AddEntries(MainWindow& window, int count) {
  Harvester& harvest = window.Harvest();
  for (int i = 0; i < count; ++i) {
    auto picture = std::make_shared<IconPicture>();
    picture->Width = picture->Height = 32;
    picture->Rgba.assign(32 * 32 * 4, static_cast<std::uint8_t>(40 + i % 200));
    picture->Mask.assign(32 * 32, 0);
    IconGraphic graphic;
    graphic.SetHandle(picture);
    AppendEntry(harvest.Entries, "Icon " + std::to_string(harvest.Entries.size()),
                std::make_unique<AdvancedIcon>(), harvest.LargeImgs.Add(graphic));
  }
  window.ListModel().TakeNewRows();
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearSettings();
    window = std::make_unique<MainWindow>(dialogs);
    window->show();
  }

  QString Panel(int index) const { return window->Parts().StatusLine->Text(index); }
  void SelectRow(int row, QItemSelectionModel::SelectionFlags how = QItemSelectionModel::Select) {
    window->Parts().TileView->selectionModel()->select(window->ListModel().index(row), how);
  }
  std::vector<QString> Captions() const {
    std::vector<QString> captions;
    for (int row = 0; row < window->ListModel().rowCount(); ++row) {
      captions.push_back(window->ListModel().index(row).data().toString());
    }
    return captions;
  }

  FakeDialogs dialogs;
  std::unique_ptr<MainWindow> window;
};

}  // namespace pictarix::testing
