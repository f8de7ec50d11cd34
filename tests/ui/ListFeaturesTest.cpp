// The list beyond the 32x32 tile: tiles at every size and pixel ratio, captions and tooltips,
// the filter, the tile size setting, the details dialog, Export Images and dragging tiles out.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <fstream>
#include <set>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QUrl>

#include "formats/ico/IconFileReader.h"
#include "harvest/BestImageIndex.h"
#include "imaging/RgbaPicture.h"
#include "os/SafeFileName.h"
#include "output/ExportImages.h"
#include "support/HarvestFixtures.h"
#include "support/TempDir.h"
#include "ui/WindowFixture.h"
#include "ui/dialogs/DetailsDialog.h"
#include "ui/dialogs/DetailsPictures.h"
#include "ui/list/ListFeatures.h"
#include "ui/list/TileDelegate.h"
#include "ui/list/TileDrag.h"
#include "ui/window/QtPaths.h"
#include "ui/window/Settings.h"

namespace pictarix::testing {
namespace {

namespace fs = std::filesystem;
using Images = std::vector<std::pair<int, int>>;

class ListFeaturesTest : public WindowTest {
 protected:
  // One entry per caption, each icon with the given images, as the harvest makes them.
  void AddIcons(const std::vector<std::string>& captions, const Images& images) {
    Harvester& harvest = window->Harvest();
    for (const std::string& caption : captions) {
      auto icon = MakeIcon(images);
      icon->Images.Sort();
      const int tileImage = BestImageIndex(*icon, 32, 0);
      harvest.Entries.push_back(*MakeListEntry(caption, std::move(icon), tileImage,
                                               &harvest.LargeImgs, "/icons/" + caption + ".dll"));
    }
    window->ListModel().TakeNewRows();
  }
  ListFeatures& Features() { return *window->Parts().Features; }
  void Filter(const QString& text) {
    Features().FilterBox->setText(text);
    Features().ApplyFilter();
  }
  std::vector<int> SelectedEntries() const {
    std::vector<int> entries;
    const std::vector<bool> flags = window->SelectedFlags();
    for (std::size_t i = 0; i < flags.size(); ++i) {
      if (flags[i]) entries.push_back(static_cast<int>(i));
    }
    return entries;
  }

  TempDir dir;
};

TEST_F(ListFeaturesTest, TilesComeFromTheImageNearestTheDeviceSizeAndAreNeverBlownUp) {
  AddIcons({"small", "large"}, {{16, 8}, {32, 32}, {48, 32}});
  AddIcons({"huge"}, {{32, 32}, {256, 32}});
  TilePictures& pictures = window->ListModel().Pictures();
  const auto deviceSide = [&](int entry, int side, qreal ratio) {
    pictures.Tile(entry, side, ratio);  // the harvest's tile stands in while it is made
    pictures.WaitForPending();
    const QPixmap tile = pictures.Tile(entry, side, ratio);
    EXPECT_LE(tile.deviceIndependentSize().width(), side);
    return tile.width();
  };
  const QPixmap standIn = pictures.Tile(1, 128, 1.0);  // the harvest's tile, scaled
  EXPECT_EQ(standIn.width(), 32);
  EXPECT_EQ(standIn.deviceIndependentSize(), QSizeF(128, 128));
  EXPECT_EQ(deviceSide(0, 32, 1.0), 32);
  EXPECT_EQ(deviceSide(0, 48, 1.0), 48);
  EXPECT_EQ(deviceSide(0, 32, 1.5), 48);   // the 48 image, not the 32 one stretched
  EXPECT_EQ(deviceSide(0, 32, 2.0), 64);   // the largest there is, made for the tile's size
  EXPECT_EQ(deviceSide(0, 256, 1.0), 48);  // shown at its own size, not blown up
  EXPECT_EQ(pictures.Tile(0, 256, 1.0).deviceIndependentSize(), QSizeF(48, 48));
  EXPECT_EQ(deviceSide(2, 32, 2.0), 64);    // the 256 image made smaller, sharp at ratio 2
  EXPECT_EQ(deviceSide(2, 256, 2.0), 512);  // made for the screen, never scaled when drawn
  // The 32x32 tile of a plain screen is the harvest's own tile.
  EXPECT_EQ(pictures.Tile(2, 32, 1.0).toImage().convertToFormat(QImage::Format_ARGB32),
            window->ListModel()
                .index(2)
                .data(Qt::DecorationRole)
                .value<QPixmap>()
                .toImage()
                .convertToFormat(QImage::Format_ARGB32));
  EXPECT_GT(pictures.CachedKiB(), 0);
  window->ClearClick();
  EXPECT_EQ(pictures.CachedKiB(), 0);
}

TEST_F(ListFeaturesTest, CaptionsShowWholeInTwoLinesAndTooltipsTellNameFileAndImages) {
  const QFont font = window->Parts().TileView->font();
  const int width = TileDelegate::CellSize(QFontMetrics(font), 32).width() - 8;
  EXPECT_EQ(CaptionLines(TileDelegate::kTypicalName, font, width),
            QStringList{TileDelegate::kTypicalName});
  const QString twoLines = QStringLiteral("IDI_SHELL_RENAME_FOLDER");
  EXPECT_EQ(CaptionLines(twoLines, font, width).join(QString()), twoLines);  // whole beats tidy
  // Between words where the words fit.
  const QStringList split = CaptionLines(QStringLiteral("IDI_SHELL_FOLDER"), font, width);
  ASSERT_EQ(split.size(), 2);
  EXPECT_TRUE(split[0].endsWith(QLatin1Char('_'))) << split[0].toStdString();
  const QStringList camel = CaptionLines(QStringLiteral("ShellFolderView"), font, width);
  ASSERT_EQ(camel.size(), 2);
  EXPECT_TRUE(camel[1].front().isUpper()) << camel[1].toStdString();
  const QString long_ = QStringLiteral("A_VERY_LONG_RESOURCE_NAME_THAT_NEEDS_FAR_MORE_THAN_TWO");
  const QStringList cut = CaptionLines(long_, font, width);
  ASSERT_EQ(cut.size(), 2);
  EXPECT_TRUE(long_.startsWith(cut[0]));
  EXPECT_TRUE(cut[1].contains(QChar(0x2026)));
  EXPECT_TRUE(cut[1].endsWith(QStringLiteral("TWO")));  // the end still shows

  AddIcons({"<b>IDI_APP</b>"}, {{32, 4}, {256, 32}});
  EXPECT_EQ(window->ListModel().index(0).data(Qt::AccessibleTextRole).toString(),
            QStringLiteral("<b>IDI_APP</b>"));  // a screen reader reads the caption
  const QString tip = window->ListModel().index(0).data(Qt::ToolTipRole).toString();
  EXPECT_TRUE(tip.contains(QStringLiteral("&lt;b&gt;IDI_APP&lt;/b&gt;")));
  EXPECT_TRUE(tip.contains(QStringLiteral("/icons/&lt;b&gt;IDI_APP&lt;/b&gt;.dll")));
  EXPECT_TRUE(tip.contains(QStringLiteral("32 x 32, 4 bits")));
  EXPECT_TRUE(tip.contains(QStringLiteral("256 x 256, 32 bits")));
}

TEST_F(ListFeaturesTest, FilterShowsMatchingEntriesAndCommandsActOnTheirEntries) {
  AddIcons({"alpha", "Beta", "gamma", "betamax"}, {{32, 32}});
  Filter(QStringLiteral("BETA"));
  EXPECT_EQ(Captions(), (std::vector<QString>{QStringLiteral("Beta"), QStringLiteral("betamax")}));
  SelectRow(1);
  EXPECT_EQ(SelectedEntries(), std::vector<int>{3});
  EXPECT_EQ(Panel(0), QStringLiteral("1 items seleted"));

  window->InvertSelectionClick();  // within the rows shown
  EXPECT_EQ(SelectedEntries(), std::vector<int>{1});
  window->RemoveClick();
  EXPECT_EQ(Captions(), std::vector<QString>{QStringLiteral("betamax")});
  ASSERT_EQ(window->Harvest().Entries.size(), 3u);

  // Entries a run adds are filtered as they come; the file's name matches too.
  AddIcons({"delta", "beta2"}, {{32, 32}});
  EXPECT_EQ(Captions().size(), 2u);
  Filter(QStringLiteral("/icons/gamma"));
  EXPECT_EQ(Captions(), std::vector<QString>{QStringLiteral("gamma")});

  QTest::keyClick(Features().FilterBox, Qt::Key_Escape);
  Features().ApplyFilter();
  EXPECT_EQ(Captions().size(), 5u);
  Filter(QStringLiteral(" "));  // spaces around the text are ignored
  EXPECT_EQ(Captions().size(), 5u);
  Filter(QStringLiteral("  gamma "));
  EXPECT_EQ(Captions(), std::vector<QString>{QStringLiteral("gamma")});
}

TEST_F(ListFeaturesTest, TileSizeStepsAndIsRemembered) {
  EXPECT_EQ(Features().TileSize(), 32);
  EXPECT_FALSE(Features().SmallerTiles->isEnabled());
  Features().LargerTiles->trigger();
  Features().LargerTiles->trigger();
  EXPECT_EQ(Features().TileSize(), 64);
  EXPECT_EQ(window->Parts().TileView->iconSize(), QSize(64, 64));
  Features().TileSizeItems.back()->trigger();
  EXPECT_FALSE(Features().LargerTiles->isEnabled());
  EXPECT_GE(window->Parts().TileView->gridSize().height(), 256);

  window = std::make_unique<MainWindow>(dialogs);
  EXPECT_EQ(window->Parts().Features->TileSize(), 256);
  WriteSettingValue(SettingsRoot::CurrentUser, kSettingsKey, ListFeatures::kTileSizeValue, 50);
  window = std::make_unique<MainWindow>(dialogs);
  EXPECT_EQ(window->Parts().Features->TileSize(), 32);  // not one of the sizes
}

TEST_F(ListFeaturesTest, DetailsShowEveryImageAndSaveAndCopyItWithItsTransparency) {
  AddIcons({"app"}, {{16, 8}, {32, 32}, {48, 32}});
  int images = 0;
  QString texts;
  dialogs.OnModal = [&](QDialog& shown) {
    auto& details = dynamic_cast<DetailsDialog&>(shown);
    images = details.Images()->count();
    details.Images()->setCurrentRow(2);
    texts =
        details.Images()->item(0)->text() + QLatin1Char('|') + details.Images()->item(1)->text();
    dialogs.FileAnswers.push_back(QStringList{FromPath(dir.Path() / "app.png")});
    details.SaveChosen();
    details.CopyChosen();
  };
  window->Parts().TileView->setCurrentIndex(window->ListModel().index(0));
  QTest::keyClick(window->Parts().TileView, Qt::Key_Return);
  ASSERT_EQ(dialogs.ModalCount, 1);
  EXPECT_EQ(images, 3);
  EXPECT_TRUE(texts.startsWith(QStringLiteral("16 x 16\n8 bits\n")));
  EXPECT_TRUE(dialogs.Errors.empty());

  IconImage& large = *window->Harvest().Entries[0].Icon->Images.Get(2);
  const auto expected = ImagePngBytes(large);
  ASSERT_TRUE(expected);
  std::ifstream saved(dir.Path() / "app.png", std::ios::binary);
  EXPECT_EQ(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(saved), {}), *expected);
  const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(clip, nullptr);
  const QImage copied = QImage::fromData(clip->data(QStringLiteral("image/png")), "PNG");
  ASSERT_EQ(copied.size(), QSize(48, 48));
  EXPECT_EQ(qAlpha(copied.pixel(0, 0)), 0);  // the transparent border stays transparent
}

// At twice the scale an image is drawn one pixel to one device pixel in a cell half its size,
// while that cell stays within 256 device-independent pixels; the dialog fits the screen.
TEST_F(ListFeaturesTest, DetailsDrawImagesOneToOneInDevicePixelsAndFitTheScreen) {
  AddIcons({"app"}, {{32, 32}, {256, 32}, {48, 32}, {48, 8}, {48, 4}, {32, 8}, {32, 4}, {16, 32}});
  IconImageList& images = window->Harvest().Entries[0].Icon->Images;
  DetailsPictures pictures(images, nullptr, 2);
  for (int i = 0; i < images.Count(); ++i) {
    const ImageSize size = RealImageSize(*images.Get(i));
    EXPECT_EQ(pictures.CellSize(i), QSize(size.Width / 2, size.Height / 2)) << size.Width;
    if (size.Width != 32) continue;
    const QPixmap drawn = pictures.Picture(i);
    EXPECT_EQ(drawn.size(), QSize(32, 32));
    EXPECT_EQ(drawn.devicePixelRatio(), 2.0);
  }

  DetailsDialog details(window->Harvest().Entries[0], dialogs, window.get());
  const QSize room = window->screen()->availableSize();
  EXPECT_LE(details.width(), room.width());
  EXPECT_LE(details.height(), room.height());
  EXPECT_EQ(details.Images()->selectionMode(), QAbstractItemView::ExtendedSelection);
  EXPECT_EQ(details.Images()->actions().size(), 2);  // Save as PNG and Copy on the images

  // Every cell has room for its image and each line of its text, the 256-pixel one too.
  QListWidget* list = details.Images();
  QStyleOptionViewItem option;
  option.initFrom(list);
  option.decorationPosition = QStyleOptionViewItem::Top;
  option.features = QStyleOptionViewItem::WrapText;
  for (int row = 0; row < list->count(); ++row) {
    const int lines = static_cast<int>(list->item(row)->text().count(QLatin1Char('\n'))) + 1;
    const int side = std::min(256, RealImageSize(*images.Get(row)).Height);
    EXPECT_GE(list->itemDelegate()->sizeHint(option, list->model()->index(row, 0)).height(),
              side + lines * option.fontMetrics.height())
        << row;
  }
}

TEST_F(ListFeaturesTest, ExportWritesWhatTheCommandLineWritesAndAsksOnceBeforeReplacing) {
  AddIcons({"a", "b", "c"}, {{32, 32}, {48, 8}, {48, 8}});
  Filter(QStringLiteral("c.dll"));
  SelectRow(0);  // entry 2
  dialogs.FolderAnswers.push_back(FromPath(dir.Path()));
  window->Parts().Features->ExportImages->trigger();
  const fs::path folder = dir.Path() / "expected";
  fs::create_directory(folder);
  WriteEntryExport(*window->Harvest().Entries[2].Icon,
                   PlanEntryExport(*window->Harvest().Entries[2].Icon, 2, folder, {}));
  for (const auto& file : fs::directory_iterator(folder)) {
    std::ifstream a(file.path(), std::ios::binary), b(dir.Path() / file.path().filename());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}),
              std::string(std::istreambuf_iterator<char>(b), {}))
        << file.path().filename();
  }
  EXPECT_TRUE(fs::exists(dir.Path() / "2-48x48-8-2.png"));
  EXPECT_TRUE(dialogs.Questions.empty());

  fs::resize_file(dir.Path() / "2-32x32-32.png", 0);
  dialogs.FolderAnswers.push_back(FromPath(dir.Path()));
  dialogs.ConfirmAnswers.push_back(false);
  window->Parts().Features->ExportImages->trigger();
  ASSERT_EQ(dialogs.Questions.size(), 1u);
  EXPECT_TRUE(dialogs.Questions[0].Message.startsWith(QStringLiteral("3 of the files")));
  EXPECT_EQ(fs::file_size(dir.Path() / "2-32x32-32.png"), 0u);  // No leaves them
}

TEST_F(ListFeaturesTest, ExportDetailsAndAddToLibraryStartInTheirLastFolderAfterARestart) {
  const fs::path exports = dir.Path() / "exports", pictures = dir.Path() / "pictures",
                 libraries = dir.Path() / "libraries";
  for (const fs::path& folder : {exports, pictures, libraries}) fs::create_directory(folder);
  AddIcons({"app"}, {{32, 32}});
  SelectRow(0);
  dialogs.FolderAnswers.push_back(FromPath(exports));
  dialogs.OptionAnswers.push_back(true);  // "Name files after captions", also remembered
  window->Parts().Features->ExportImages->trigger();
  EXPECT_TRUE(fs::exists(exports / "app-32x32.png"));
  dialogs.OnModal = [&](QDialog& shown) {
    dialogs.FileAnswers.push_back(QStringList{FromPath(pictures / "app.png")});
    dynamic_cast<DetailsDialog&>(shown).SaveChosen();
  };
  window->Parts().TileView->setCurrentIndex(window->ListModel().index(0));
  QTest::keyClick(window->Parts().TileView, Qt::Key_Return);
  std::ofstream(libraries / "none.icl") << "no library";  // refused, but the folder was chosen
  dialogs.FileAnswers.push_back(QStringList{FromPath(libraries / "none.icl")});
  window->Parts().Item("addToLibrary")->trigger();

  window = std::make_unique<MainWindow>(dialogs);
  AddIcons({"app"}, {{32, 32}});
  SelectRow(0);
  window->Parts().Features->ExportImages->trigger();
  EXPECT_EQ(dialogs.FolderStarts.back(), FromPath(exports));
  ASSERT_TRUE(dialogs.FolderOptions.back());
  EXPECT_TRUE(dialogs.FolderOptions.back()->Checked);
  dialogs.OnModal = [&](QDialog& shown) { dynamic_cast<DetailsDialog&>(shown).SaveChosen(); };
  window->Parts().TileView->setCurrentIndex(window->ListModel().index(0));
  QTest::keyClick(window->Parts().TileView, Qt::Key_Return);
  EXPECT_EQ(dialogs.FileRequests.back().InitialDir, FromPath(pictures));
  window->Parts().Item("addToLibrary")->trigger();
  EXPECT_EQ(dialogs.FileRequests.back().InitialDir, FromPath(libraries));
}

TEST_F(ListFeaturesTest, DraggedTilesBecomeIconFilesNamedAfterTheirCaptions) {
  AddIcons({"IDI_APP", "a/b", "idi_app", "..", "x\u202Egnp.exe\u0085"}, {{16, 8}, {32, 32}});
  QModelIndexList rows;
  for (int row = 0; row < 5; ++row) rows << window->ListModel().index(row);
  std::unique_ptr<QMimeData> data(window->ListModel().mimeData(rows));
  ASSERT_NE(data, nullptr);
  QStringList names;
  for (const QUrl& url : data->urls()) {
    const fs::path file = ToPath(url.toLocalFile());
    names << FromPath(file.filename());
    AdvancedIcon icon;
    EXPECT_TRUE(ReadIconFile(file, icon));
    EXPECT_EQ(icon.Images.Count(), 2);
    EXPECT_EQ(fs::status(file.parent_path().parent_path()).permissions() & fs::perms::others_all,
              fs::perms::none);
  }
  EXPECT_EQ(names, (QStringList{QStringLiteral("IDI_APP.ico"), QStringLiteral("a_b.ico"),
                                QStringLiteral("idi_app (2).ico"), QStringLiteral("icon.ico"),
                                QStringLiteral("x_gnp.exe_.ico")}));
  EXPECT_TRUE(window->ListModel().flags(rows[0]).testFlag(Qt::ItemIsDragEnabled));
}

TEST_F(ListFeaturesTest, NamesFromCaptionsStayOneSafeNameInSaveAsAndDragOut) {
  const std::string longCaption(300, 'x');  // 300 bytes, then a two-byte character cut in half
  AddIcons({"../../etc/evil", "a/b", "line1\nline2", std::string("nul\0inside", 10),
            "\u202Etxt.exe", ".hidden \xC2\x85", longCaption + "\xC3\xA9"},
           {{32, 32}});
  const QStringList expected{QStringLiteral("_.._etc_evil"), QStringLiteral("a_b"),
                             QStringLiteral("line1_line2"),  QStringLiteral("nul_inside"),
                             QStringLiteral("_txt.exe"),     QStringLiteral("hidden _")};
  for (int row = 0; row < 7; ++row) {
    SelectRow(row, QItemSelectionModel::ClearAndSelect);
    dialogs.FileAnswers = {std::nullopt};
    window->SaveAsClick();
    ASSERT_EQ(dialogs.FileRequests.size(), static_cast<std::size_t>(row + 1));
    const QString offered = dialogs.FileRequests.back().FileName;
    if (row < expected.size()) {
      EXPECT_EQ(offered, expected[row]);
    } else {  // room is left for the extension the dialog adds
      EXPECT_EQ(offered, QString::fromStdString(longCaption.substr(0, kMaxFileNameBytes - 5)));
    }
  }

  QModelIndexList rows;
  for (int row = 0; row < 7; ++row) rows << window->ListModel().index(row);
  std::unique_ptr<QMimeData> data(window->ListModel().mimeData(rows));
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->urls().size(), 7);
  for (qsizetype i = 0; i < data->urls().size(); ++i) {
    const fs::path file = ToPath(data->urls()[i].toLocalFile());
    EXPECT_TRUE(fs::is_regular_file(file));
    const std::string name = file.filename().string();
    if (i < expected.size()) {
      EXPECT_EQ(FromPath(name), expected[i] + QStringLiteral(".ico"));
    } else {
      EXPECT_EQ(name, longCaption.substr(0, kMaxFileNameBytes - 4) + ".ico");
    }
  }
}

TEST_F(ListFeaturesTest, DragFolderLivesFromTheFirstDragToTheWindowsEndAndLeftOnesAreRemoved) {
  const fs::path temp = dir.Path() / "tmp";
  fs::create_directories(temp / "pictarix-drag-1-killed" / "1");  // a window that was killed
  std::ofstream(temp / "pictarix-drag-1-killed" / "lock").put('x');
  std::ofstream(temp / "pictarix-drag-1-killed" / "1" / "a.ico").put('x');
  fs::create_directory(temp / "pictarix-drag-1-making");  // no lock yet, its process runs
  const std::string live = "pictarix-drag-" + std::to_string(::getpid()) + "-living";
  fs::create_directory(temp / live);
  std::ofstream(temp / live / "lock").put('x');
  const int held = ::open((temp / live / "lock").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  fs::create_directories(dir.Path() / "elsewhere");  // reached through a link: never entered
  std::ofstream(dir.Path() / "elsewhere" / "lock").put('x');
  fs::create_directory_symlink(dir.Path() / "elsewhere", temp / "pictarix-drag-2-linked");

  const bool tempWasSet = qEnvironmentVariableIsSet("TMPDIR");
  const QByteArray savedTemp = qgetenv("TMPDIR");
  qputenv("TMPDIR", QByteArray::fromStdString(temp.string()));
  const auto dragFolders = [&] {
    std::set<std::string> names;
    for (const auto& item : fs::directory_iterator(temp)) names.insert(item.path().filename());
    return names;
  };
  window = std::make_unique<MainWindow>(dialogs);
  const std::set<std::string> atStart{"pictarix-drag-1-making", "pictarix-drag-2-linked", live};
  EXPECT_EQ(dragFolders(), atStart);  // and none made for this window yet
  EXPECT_TRUE(fs::exists(dir.Path() / "elsewhere" / "lock"));

  AddIcons({"app"}, {{32, 32}});
  std::unique_ptr<QMimeData> data(window->ListModel().mimeData({window->ListModel().index(0)}));
  ASSERT_NE(data, nullptr);
  const fs::path made = ToPath(data->urls().first().toLocalFile()).parent_path().parent_path();
  EXPECT_EQ(made.parent_path(), temp);
  EXPECT_EQ(dragFolders().size(), 4u);
  window.reset();
  EXPECT_FALSE(fs::exists(made));
  EXPECT_EQ(dragFolders(), atStart);
  tempWasSet ? qputenv("TMPDIR", savedTemp) : qunsetenv("TMPDIR");
  ::close(held);
}

}  // namespace
}  // namespace pictarix::testing
