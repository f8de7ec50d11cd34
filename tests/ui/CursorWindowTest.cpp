// Cursors in the window: the Include cursors switch and its setting, named cursor files read
// whatever it says, the filter by kind, the Details player of an animated cursor, and saving
// cursors (Save As, Save as Cursor Theme).
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "formats/ani/AnimatedCursorReader.h"
#include "model/Animation.h"
#include "support/CursorBuilder.h"
#include "support/FileBytes.h"
#include "support/IconFileBuilder.h"
#include "support/TempDir.h"
#include "ui/WindowFixture.h"
#include "ui/dialogs/CursorPlayer.h"
#include "ui/dialogs/DetailsDialog.h"
#include "ui/list/ListFeatures.h"
#include "ui/window/CursorThemeCommand.h"
#include "ui/window/QtPaths.h"
#include "ui/window/Settings.h"

namespace pictarix::testing {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const Bytes kFrameA = CursorFile({{BlankDibImage(32, 32, 1), 1, 2}});
const Bytes kFrameB = CursorFile({{BlankDibImage(32, 32, 4), 30, 31}});

// Frames shown in three steps (frames 0, 1, 0) of 6, 12 and 18 jiffies.
Bytes AnimatedFile(std::uint32_t frames = 2) {
  std::vector<Bytes> icons;
  for (std::uint32_t i = 0; i < frames; ++i)
    icons.push_back(Chunk("icon", i % 2 ? kFrameB : kFrameA));
  return RiffFile({AniHeader(frames, 3, 6, 3), Chunk("seq ", Words({0, 1, 0})),
                   Chunk("rate", Words({6, 12, 18})), List("fram", icons)});
}

ListEntry AnimatedEntry(std::uint32_t frames = 2) {
  auto icon = std::make_unique<AdvancedIcon>();
  EXPECT_EQ(ReadAnimatedCursor(AnimatedFile(frames), *icon), "");
  return ListEntry{"busy", std::move(icon), -1, 0, "/cursors/busy.ani"};
}

class CursorWindowTest : public WindowTest {
 protected:
  void Harvest(std::vector<HarvestRoot> roots) {
    window->Harvest().Begin(std::move(roots));
    while (window->Harvest().TakeReady(std::chrono::milliseconds(50))) {
    }
  }
  std::size_t EntryCount() const { return window->Harvest().Entries.size(); }

  TempDir dir;
};

TEST_F(CursorWindowTest, TheSwitchIsOffByDefaultRememberedAndFeedsTheHarvest) {
  QAction* item = window->Parts().Item("includeCursors");
  ASSERT_NE(item, nullptr);
  EXPECT_FALSE(item->isChecked());
  EXPECT_FALSE(window->Harvest().IncludeCursors);
  item->trigger();
  EXPECT_TRUE(window->Harvest().IncludeCursors);
  EXPECT_TRUE(
      ReadSettingBool(SettingsRoot::CurrentUser, kSettingsKey, kIncludeCursorsValue, false));

  window = std::make_unique<MainWindow>(dialogs);
  EXPECT_TRUE(window->Parts().Item("includeCursors")->isChecked());
  EXPECT_TRUE(window->Harvest().IncludeCursors);
}

TEST_F(CursorWindowTest, NamedCursorFilesAreReadWhateverTheSwitchFoldersOnlyWithIt) {
  fs::create_directories(dir.Path() / "tree");
  WriteBytes(dir.Path() / "tree" / "arrow.cur", kFrameA);
  WriteBytes(dir.Path() / "tree" / "busy.ani", AnimatedFile());
  Harvest({{dir.Path() / "tree", true}});
  EXPECT_EQ(EntryCount(), 0u);
  Harvest({{dir.Path() / "tree" / "arrow.cur", false}, {dir.Path() / "tree" / "busy.ani", false}});
  ASSERT_EQ(EntryCount(), 2u);
  EXPECT_EQ(window->Harvest().Entries[1].Icon->Kind, EntryKind::Animated);

  window->Parts().Item("includeCursors")->trigger();
  Harvest({{dir.Path() / "tree", true}});
  EXPECT_EQ(EntryCount(), 4u);
}

TEST_F(CursorWindowTest, TheFilterMatchesKindWords) {
  fs::create_directories(dir.Path() / "tree");
  WriteBytes(dir.Path() / "tree" / "arrow.cur", kFrameA);
  WriteBytes(dir.Path() / "tree" / "busy.ani", AnimatedFile());
  AddEntries(*window, 1);
  Harvest({{dir.Path() / "tree" / "arrow.cur", false}, {dir.Path() / "tree" / "busy.ani", false}});
  window->ListModel().TakeNewRows();
  const auto filter = [&](const QString& text) {
    window->Parts().Features->FilterBox->setText(text);
    window->Parts().Features->ApplyFilter();
    return Captions();
  };
  EXPECT_EQ(filter(QStringLiteral("Cursor")), std::vector<QString>{QStringLiteral("arrow")});
  EXPECT_EQ(filter(QStringLiteral("animated")), std::vector<QString>{QStringLiteral("busy")});
  EXPECT_EQ(filter(QString()).size(), 3u);
  EXPECT_EQ(window->ListModel().index(1).data(IconListModel::kKindRole).toString(),
            QStringLiteral("cursor"));
}

TEST_F(CursorWindowTest, DetailsPlayTheStepsOnTheirTimerAndSpacePauses) {
  const ListEntry entry = AnimatedEntry();
  DetailsDialog details(entry, dialogs);
  CursorPlayer* player = details.Player();
  ASSERT_NE(player, nullptr);
  EXPECT_EQ(player->StatusText(), QStringLiteral("Step 1 of 3, frame 1, 100 ms"));
  EXPECT_EQ(player->Timer().interval(), 100);
  details.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&details));
  QTRY_VERIFY_WITH_TIMEOUT(player->CurrentStep() != 0, 5000);
  const int delays[] = {100, 200, 300};
  EXPECT_EQ(player->Timer().interval(), delays[player->CurrentStep()]);
  // Both frames are listed, each with its steps; the hotspot is told.
  ASSERT_EQ(details.Images()->count(), 2);
  EXPECT_TRUE(details.Images()->item(0)->text().startsWith(
      QStringLiteral("Frame 1\nStep 1: 100 ms\nStep 3: 300 ms\n32 x 32")));
  EXPECT_TRUE(details.Images()->item(1)->text().endsWith(QStringLiteral("hotspot 30, 31")));

  QTest::keyClick(&details, Qt::Key_Space);
  EXPECT_TRUE(player->Paused());
  EXPECT_FALSE(player->Timer().isActive());
  const int paused = player->CurrentStep();
  QTest::qWait(350);
  EXPECT_EQ(player->CurrentStep(), paused);
  QTest::keyClick(&details, Qt::Key_Space);
  EXPECT_FALSE(player->Paused());
  EXPECT_NE(player->CurrentStep(), paused);
}

TEST_F(CursorWindowTest, DetailsOfAThousandFramesListSomeAndSaySo) {
  const ListEntry entry = AnimatedEntry(1000);
  DetailsDialog details(entry, dialogs);
  EXPECT_EQ(details.Images()->count(), DetailsDialog::kMaxListedImages);
  const auto* note = details.findChild<QLabel*>(QStringLiteral("FramesNote"));
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(note->text(),
            QStringLiteral("Frames 513 to 1000 are not listed; the player shows them."));
}

// An arrow cursor, an animated cursor and an icon, harvested from files in that order.
class CursorSaveTest : public CursorWindowTest {
 protected:
  void SetUp() override {
    CursorWindowTest::SetUp();
    fs::create_directories(dir.Path() / "out");
    WriteBytes(dir.Path() / "Arrow.cur", kFrameA);
    WriteBytes(dir.Path() / "busy.ani", AnimatedFile());
    WriteBytes(dir.Path() / "icon.ico", TrueColourIconFile(std::vector<std::uint32_t>(1024, ~0u)));
    Harvest({{dir.Path() / "Arrow.cur", false},
             {dir.Path() / "busy.ani", false},
             {dir.Path() / "icon.ico", false}});
    window->ListModel().TakeNewRows();
  }
  QString Out(const std::string& name) const { return FromPath(dir.Path() / "out" / name); }
  void Select(std::initializer_list<int> rows) {
    for (const int row : rows) SelectRow(row);
  }
};

TEST_F(CursorSaveTest, SaveAsRefusesTheWrongKindByNameAndWritesTheAnimatedCursorWhole) {
  Select({0, 1, 2});
  dialogs.FileAnswers = {QStringList{Out("arrow.ani")}, QStringList{Out("busy.ani")},
                         QStringList{Out("icon.cur")}};
  window->Parts().Item("saveAs")->trigger();
  ASSERT_EQ(dialogs.FileRequests.size(), 3u);
  EXPECT_TRUE(dialogs.FileRequests[0].Filter.endsWith(
      QStringLiteral("|Cursor (*.cur)|*.cur|Animated cursor (*.ani)|*.ani")));
  ASSERT_EQ(dialogs.Notices.size(), 2u);
  EXPECT_TRUE(dialogs.Notices[0].Message.startsWith(QStringLiteral("\"Arrow\" was not saved")));
  EXPECT_TRUE(dialogs.Notices[0].Message.contains(QStringLiteral("still cursor")));
  EXPECT_TRUE(dialogs.Notices[1].Message.startsWith(QStringLiteral("\"icon\" was not saved")));
  EXPECT_TRUE(dialogs.Notices[1].Message.contains(QStringLiteral(".cur files")));
  EXPECT_FALSE(fs::exists(ToPath(Out("arrow.ani"))));
  EXPECT_FALSE(fs::exists(ToPath(Out("icon.cur"))));
  EXPECT_EQ(ReadWholeFile(ToPath(Out("busy.ani"))), AnimatedFile());
}

TEST_F(CursorSaveTest, AnIconLibraryOfTheSelectionNamesTheCursorsLeftOut) {
  Select({0, 1, 2});
  dialogs.FileAnswers = {QStringList{Out("mixed.icl")}};
  window->SaveToLibraryClick(window->Parts().Item("saveToLibrary"));
  EXPECT_TRUE(fs::is_regular_file(ToPath(Out("mixed.icl"))));
  ASSERT_EQ(dialogs.Notices.size(), 1u);
  EXPECT_EQ(dialogs.Notices[0].Message,
            QStringLiteral("Icon libraries hold only icons, so these cursors were left out: "
                           "\"Arrow\", \"busy\"."));
}

TEST_F(CursorSaveTest, ThemeOfTheSelectionPassesIconsOverAndNamesTheMissingRoles) {
  EXPECT_EQ(ProposedThemeName({QStringLiteral("Aero Arrow"), QStringLiteral("Aero Busy")}),
            QStringLiteral("Aero"));
  EXPECT_EQ(ProposedThemeName({QStringLiteral("arrow"), QStringLiteral("busy")}),
            QStringLiteral("Cursors"));
  Select({0, 2});
  dialogs.FolderAnswers = {FromPath(dir.Path() / "out")};
  dialogs.TextAnswers = {QStringLiteral("Mine")};
  window->Parts().Item("saveCursorTheme")->trigger();
  ASSERT_EQ(dialogs.TextQuestions.size(), 1u);
  EXPECT_TRUE(dialogs.TextQuestions[0].Message.endsWith(QStringLiteral("|Arrow")));
  const fs::path theme = dir.Path() / "out" / "Mine";
  EXPECT_TRUE(fs::is_regular_file(theme / "index.theme"));
  EXPECT_TRUE(fs::is_regular_file(theme / "cursors" / "left_ptr"));
  EXPECT_TRUE(fs::is_symlink(theme / "cursors" / "default"));
  ASSERT_EQ(dialogs.Notices.size(), 1u);
  const QString& message = dialogs.Notices[0].Message;
  EXPECT_TRUE(message.startsWith("The cursor theme was written to " + FromPath(theme)));
  EXPECT_TRUE(message.contains(QStringLiteral("Roles without a cursor: Help, ")));
  EXPECT_TRUE(message.contains(QStringLiteral("1 selected icon was passed over")));

  // No cursor named after a role (only an icon): nothing written, and said.
  window->Parts().TileView->clearSelection();
  Select({2});
  dialogs.FolderAnswers = {FromPath(dir.Path() / "out")};
  dialogs.TextAnswers = {QStringLiteral("Other")};
  window->Parts().Item("saveCursorTheme")->trigger();
  EXPECT_FALSE(fs::exists(dir.Path() / "out" / "Other"));
  ASSERT_EQ(dialogs.Notices.size(), 2u);
  EXPECT_TRUE(dialogs.Notices[1].Message.startsWith(QStringLiteral("No theme was written")));
}

}  // namespace
}  // namespace pictarix::testing
