// Undo of Remove, Clear and of the new list that opening files starts.
#include "ui/WindowFixture.h"
#include "ui/list/UndoStack.h"

namespace pictarix::testing {
namespace {

class WindowUndoTest : public WindowTest {
 protected:
  QAction& Undo() const { return *window->Parts().Item("undo"); }
  void Remove(std::initializer_list<int> rows) {
    window->Parts().TileView->clearSelection();
    for (const int row : rows) SelectRow(row);
    window->RemoveClick();
  }
  // Every entry's tile is the one it was made with (AddEntries shades tile i by i).
  void ExpectTilesFollowEntries() const {
    for (const ListEntry& entry : window->Harvest().Entries) {
      ASSERT_GE(entry.ImageIndex, 0);
      ASSERT_LT(entry.ImageIndex, window->Harvest().LargeImgs.Count());
    }
  }
};

TEST_F(WindowUndoTest, RemoveComesBackInPlaceLastFirst) {
  AddEntries(*window, 6);
  const std::vector<QString> all = Captions();
  EXPECT_FALSE(Undo().isEnabled());
  Remove({1, 4});
  Remove({0});
  EXPECT_EQ(Captions(), (std::vector<QString>{all[2], all[3], all[5]}));
  ASSERT_TRUE(Undo().isEnabled());
  Undo().trigger();
  EXPECT_EQ(Captions(), (std::vector<QString>{all[0], all[2], all[3], all[5]}));
  Undo().trigger();
  EXPECT_EQ(Captions(), all);
  EXPECT_FALSE(Undo().isEnabled());
  EXPECT_EQ(Panel(2), QStringLiteral("6 icons"));
}

TEST_F(WindowUndoTest, ClearComesBackAheadOfWhatWasAddedSince) {
  AddEntries(*window, 3);
  const std::vector<QString> before = Captions();
  window->Harvest().FileCount = 2;
  window->ClearClick();
  EXPECT_EQ(window->ListModel().rowCount(), 0);
  AddEntries(*window, 2);  // a drop adds to the list
  window->Harvest().FileCount = 1;
  const std::vector<QString> added = Captions();
  Undo().trigger();
  std::vector<QString> expected = before;
  expected.insert(expected.end(), added.begin(), added.end());
  EXPECT_EQ(Captions(), expected);
  EXPECT_EQ(window->Harvest().LargeImgs.Count(), 5);
  ExpectTilesFollowEntries();
  // The added entries' tiles moved behind the cleared list's.
  EXPECT_EQ(window->Harvest().Entries[3].ImageIndex, 3);
  EXPECT_EQ(window->Harvest().FileCount, 3);
  EXPECT_EQ(Panel(1), QStringLiteral("3 files"));
}

TEST_F(WindowUndoTest, NewListGivesWayToTheListItReplaced) {
  AddEntries(*window, 4);
  Remove({2});
  const std::vector<QString> before = Captions();
  window->ClearList(true);  // as opening files does
  AddEntries(*window, 7);
  Undo().trigger();
  EXPECT_EQ(Captions(), before);
  ExpectTilesFollowEntries();
  Undo().trigger();  // the Remove before it
  EXPECT_EQ(window->ListModel().rowCount(), 4);
}

TEST_F(WindowUndoTest, KeepsTheLastTenSteps) {
  AddEntries(*window, 12);
  for (int i = 0; i < 12; ++i) Remove({0});
  int undone = 0;
  while (Undo().isEnabled() && undone < 20) {
    Undo().trigger();
    ++undone;
  }
  EXPECT_EQ(undone, static_cast<int>(UndoStack::kDepth));
  ASSERT_EQ(window->ListModel().rowCount(), 10);
  EXPECT_EQ(Captions().front(), QStringLiteral("Icon 2"));  // the first two removals are gone
}

TEST_F(WindowUndoTest, EmptyClearKeepsNoStep) {
  window->ClearClick();
  EXPECT_FALSE(Undo().isEnabled());
}

}  // namespace
}  // namespace pictarix::testing
