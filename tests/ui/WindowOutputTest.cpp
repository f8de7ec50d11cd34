// The output commands of the window with scripted dialogs: Save As, Batch Save As, Save and Add
// to Icon Library, Copy to Clipboard.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "formats/IconLibrary.h"
#include "formats/ico/IconFileReader.h"
#include "harvest/BestImageIndex.h"
#include "imaging/RgbaPicture.h"
#include "support/HarvestFixtures.h"
#include "support/NeBuilder.h"
#include "support/TempDir.h"
#include "ui/WindowFixture.h"
#include "ui/dialogs/ErrorBox.h"
#include "ui/window/ClipboardCopy.h"
#include "ui/window/QtPaths.h"

namespace pictarix::testing {
namespace {

namespace fs = std::filesystem;

class WindowOutputTest : public WindowTest {
 protected:
  // Appends one entry per icon as the harvest makes it: caption "name<i>", the icon, and its
  // 32x32 image as the tile. Every image is a red square on a transparent border.
  void AddIcons(const std::vector<std::vector<std::pair<int, int>>>& icons) {
    Harvester& harvest = window->Harvest();
    for (const auto& images : icons) {
      AppendHarvestedEntry(harvest.Entries, harvest.LargeImgs,
                           "name" + std::to_string(harvest.Entries.size()), MakeIcon(images));
    }
    window->ListModel().TakeNewRows();
  }
  void Select(std::initializer_list<int> rows) {
    for (const int row : rows) SelectRow(row);
  }
  QString Name(const std::string& name) const { return FromPath(dir.Path() / name); }
  std::vector<std::string> FilesInDir() const {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(dir.Path())) {
      names.push_back(item.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  // Each icon of a library with its name and number of images, read back by the NE reader.
  static std::vector<std::pair<std::string, int>> Library(const fs::path& file) {
    IconLibrary library;
    EXPECT_EQ(library.LoadFromFile(file), LoadOutcome::Loaded);
    std::vector<std::pair<std::string, int>> contents;
    for (int i = 0; i < library.Icons.Count(); ++i) {
      contents.emplace_back(library.Icons.Name(i), library.Icons.Icon(i).Images.Count());
    }
    return contents;
  }
  static int ImageCountOfIconFile(const fs::path& file) {
    AdvancedIcon icon;
    return ReadIconFile(file, icon) ? icon.Images.Count() : -1;
  }

  TempDir dir;
};

using Listing = std::vector<std::pair<std::string, int>>;

TEST_F(WindowOutputTest, NothingSelectedAsksNothingAndWritesNothing) {
  AddIcons({{{32, 8}}, {{32, 4}}});
  QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  window->Parts().Item("saveButton")->trigger();  // the tool button does not follow the selection
  window->BatchSaveClick(window->Parts().Item("batchIcons"));
  window->SaveToLibraryClick(window->Parts().Item("saveToLibrary"));
  window->SaveToLibraryClick(window->Parts().Item("addToLibrary"));
  window->CopyToClipboardClick();
  EXPECT_TRUE(dialogs.FileRequests.empty());
  EXPECT_TRUE(dialogs.FolderPrompts.empty());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));

  // Without a menu item, or with a tag outside the formats, the commands do nothing either.
  Select({0});
  window->BatchSaveClick(nullptr);
  window->SaveToLibraryClick(nullptr);
  window->Parts().Item("batchIcons")->setData(5);  // past the batch formats
  window->BatchSaveClick(window->Parts().Item("batchIcons"));
  EXPECT_TRUE(dialogs.FolderPrompts.empty());
  EXPECT_TRUE(dialogs.FileRequests.empty());
}

TEST_F(WindowOutputTest, SaveAsOffersOneDialogPerEntryFromItsCaptionAndStopsAtCancel) {
  AddIcons({{{32, 8}, {16, 4}}, {{32, 4}}, {{32, 1}}});
  Select({0, 1, 2});
  dialogs.FileAnswers = {QStringList{Name("first.ico")}, std::nullopt};
  window->Parts().Item("saveAs")->trigger();

  ASSERT_EQ(dialogs.FileRequests.size(), 2u);  // the third is not offered
  const FileDialogRequest& request = dialogs.FileRequests[0];
  EXPECT_EQ(request.FileName, QStringLiteral("name0"));
  EXPECT_EQ(dialogs.FileRequests[1].FileName, QStringLiteral("name1"));
  EXPECT_EQ(request.DialogKind, FileDialogRequest::Kind::Save);
  EXPECT_TRUE(request.Title.isEmpty());
  EXPECT_EQ(request.Filter, QStringLiteral("Icon(*.ico)|*.ico|GIF(*.gif)|*.gif|Bitmap(*.bmp)|*.bmp|"
                                           "JPEG(*.jpg;*.jpeg)|*.jpg;*.jpeg|PNG(*.png)|*.png|"
                                           "PNG, largest image with transparency (*.png)|*.png|"
                                           "Cursor (*.cur)|*.cur|Animated cursor (*.ani)|*.ani"));
  EXPECT_EQ(request.FilterIndex, 1);
  EXPECT_EQ(request.Options, unsigned{ofOverwritePrompt | ofCreatePrompt | ofNoReadOnlyReturn});
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"first.ico"});
  EXPECT_EQ(ImageCountOfIconFile(dir.Path() / "first.ico"), 2);  // every image of the icon
  EXPECT_TRUE(dialogs.Errors.empty());

  // The next run starts again from the first entry's caption, in the folder last used.
  dialogs.FileAnswers = {std::nullopt};
  window->Parts().Item("saveAs")->trigger();
  ASSERT_EQ(dialogs.FileRequests.size(), 3u);
  EXPECT_EQ(dialogs.FileRequests[2].FileName, QStringLiteral("name0"));
  EXPECT_EQ(dialogs.FileRequests[2].InitialDir, FromPath(dir.Path()));
}

TEST_F(WindowOutputTest, SaveAsFormatComesFromTheExtensionAndUnknownOnesBecomeIcons) {
  AddIcons({{{32, 8}}, {{32, 4}}, {{32, 1}}});
  Select({0, 1, 2});
  dialogs.FileAnswers = {QStringList{Name("pic.txt")}, QStringList{Name("Pic.JPEG")},
                         QStringList{Name("shot")}};
  dialogs.FilterAnswers = {1, 1, 5};  // the PNG filter for a name typed without extension
  window->SaveAsClick();
  EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"Pic.JPEG", "pic.ico", "shot.png"}));
  EXPECT_EQ(ImageCountOfIconFile(dir.Path() / "pic.ico"), 1);
  const auto jpeg = ReadWholeFile(dir.Path() / "Pic.JPEG");
  ASSERT_GE(jpeg.size(), 3u);
  EXPECT_EQ(std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 3),
            (std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF}));
  const QImage png(Name("shot.png"), "PNG");
  EXPECT_EQ(png.size(), QSize(32, 32));
}

TEST_F(WindowOutputTest, SubstitutedIcoNameIsReplacedOnlyAfterAsking) {
  AddIcons({{{32, 8}, {16, 8}}});
  WriteIconFile(dir.Path() / "pic.ico", {{32, 4}});
  const auto before = ReadWholeFile(dir.Path() / "pic.ico");
  Select({0});

  // Create pic.txt? Yes. Replace the existing pic.ico? No: the dialog comes back, cancelled.
  dialogs.FileAnswers = {QStringList{Name("pic.txt")}, std::nullopt};
  dialogs.ConfirmAnswers = {true, false};
  window->SaveAsClick();
  ASSERT_EQ(dialogs.Questions.size(), 2u);
  EXPECT_TRUE(dialogs.Questions[1].Message.startsWith(Name("pic.ico") + " already exists"));
  ASSERT_EQ(dialogs.FileRequests.size(), 2u);
  EXPECT_EQ(dialogs.FileRequests[1].FileName, Name("pic.txt"));
  EXPECT_EQ(ReadWholeFile(dir.Path() / "pic.ico"), before);

  dialogs.FileAnswers = {QStringList{Name("pic.txt")}};
  window->SaveAsClick();  // Yes to both
  EXPECT_EQ(ImageCountOfIconFile(dir.Path() / "pic.ico"), 2);
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"pic.ico"});
}

TEST_F(WindowOutputTest, SaveAsWriteErrorEndsTheCommandInTheErrorBox) {
  AddIcons({{{32, 8}}, {{32, 4}}});
  Select({0, 1});
  dialogs.FileAnswers = {QStringList{Name("no folder/a.ico")}, QStringList{Name("b.ico")}};
  window->Parts().Item("saveAs")->trigger();
  ASSERT_EQ(dialogs.Errors.size(), 1u);
  EXPECT_EQ(dialogs.Errors[0].Title, MainWindow::kCaption);
  EXPECT_TRUE(dialogs.Errors[0].Message.startsWith("Cannot create file \"" +
                                                   Name("no folder/a.ico") + "\". "))
      << dialogs.Errors[0].Message.toStdString();
  EXPECT_TRUE(dialogs.Errors[0].Message.endsWith(QLatin1Char('.')));
  EXPECT_EQ(dialogs.FileRequests.size(), 1u);  // the second entry is not offered
  EXPECT_TRUE(FilesInDir().empty());
}

TEST_F(WindowOutputTest, BatchSaveNamesFilesByListPositionInThePickedFolder) {
  AddIcons(std::vector<std::vector<std::pair<int, int>>>(10, {{32, 8}, {16, 4}}));
  Select({7, 9});
  dialogs.FolderAnswers = {FromPath(dir.Path())};
  window->Parts().Item("batchIcons")->trigger();
  ASSERT_EQ(dialogs.FolderPrompts.size(), 1u);
  EXPECT_EQ(dialogs.FolderPrompts[0], QStringLiteral("Please select a directory"));
  EXPECT_EQ(dialogs.FolderRoots[0], QStringLiteral("/"));  // "\\": the root of the file system
  EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"7.ico", "9.ico"}));
  EXPECT_EQ(ImageCountOfIconFile(dir.Path() / "9.ico"), 2);

  // The JPEG item of the main menu; a path that is no directory writes nothing.
  dialogs.FolderAnswers = {FromPath(dir.Path()), Name("7.ico")};
  window->Parts().Item("batchJpegs")->trigger();
  window->Parts().Item("batchJpegs")->trigger();
  EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"7.ico", "7.jpg", "9.ico", "9.jpg"}));
  EXPECT_TRUE(dialogs.Errors.empty());
}

TEST_F(WindowOutputTest, GifsThatCannotBeWrittenAreReported) {
  AddIcons({{{32, 32}}, {{32, 8}}});
  Select({0});
  dialogs.FileAnswers = {QStringList{Name("true.gif")}};
  window->SaveAsClick();
  ASSERT_EQ(dialogs.Notices.size(), 1u);
  EXPECT_EQ(dialogs.Notices[0].Message,
            QStringLiteral("This icon has no image of 256 colours or fewer; no GIF was written."));
  EXPECT_TRUE(FilesInDir().empty());

  Select({1});
  dialogs.FolderAnswers = {FromPath(dir.Path())};
  window->Parts().Item("batchGifs")->trigger();
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"1.gif"});
  ASSERT_EQ(dialogs.Notices.size(), 2u);
  EXPECT_TRUE(dialogs.Notices[1].Message.startsWith(QStringLiteral("1 of the 2 selected")));
  EXPECT_TRUE(dialogs.Notices[1].Message.endsWith(QStringLiteral(": 0.gif.")));
}

TEST_F(WindowOutputTest, BatchFolderEndingInASeparatorGetsNoSecondOne) {
  AddIcons({{{32, 8}}, {{32, 4}}});
  fs::create_directory(dir.Path() / "0.ico");  // makes the first file fail, showing its name
  Select({0, 1});
  const QString folder = FromPath(dir.Path()) + QLatin1Char('/');
  dialogs.FolderAnswers = {folder};
  window->Parts().Item("batchBitmaps")->trigger();
  dialogs.FolderAnswers = {folder};
  window->Parts().Item("batchIcons")->trigger();
  ASSERT_EQ(dialogs.Errors.size(), 1u);  // the bitmaps went in, the icons failed at the first
  EXPECT_TRUE(dialogs.Errors[0].Message.startsWith("Cannot create file \"" + folder + "0.ico\". "))
      << dialogs.Errors[0].Message.toStdString();
  EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"0.bmp", "0.ico", "1.bmp"}));
}

TEST_F(WindowOutputTest, SaveToIconLibraryNamesTheSelectedIconsFromZero) {
  AddIcons({{{32, 8}, {16, 4}}, {{32, 4}}, {{32, 1}}, {{32, 24}, {48, 32}, {16, 8}}});
  Select({0, 2, 3});
  dialogs.FileAnswers = {QStringList{Name("lib")}};
  window->Parts().Item("saveToLibrary")->trigger();
  EXPECT_EQ(Library(dir.Path() / "lib.icl"), (Listing{{"0", 2}, {"1", 1}, {"2", 3}}));
  const FileDialogRequest& request = dialogs.FileRequests[0];
  EXPECT_EQ(request.DialogKind, FileDialogRequest::Kind::Save);
  EXPECT_EQ(request.Filter, QStringLiteral("Icon Library (*.icl)|*.icl"));
  EXPECT_TRUE(request.FileName.isEmpty());  // no name proposed the first time
  EXPECT_TRUE(dialogs.Questions.empty());   // a new library: nothing to confirm

  // Again onto the same library, after confirming the replacement: only the new selection.
  window->Parts().TileView->clearSelection();
  Select({1});
  dialogs.FileAnswers = {QStringList{Name("lib.icl")}};
  window->Parts().Item("saveToLibrary")->trigger();
  ASSERT_EQ(dialogs.FileRequests.size(), 2u);
  EXPECT_EQ(dialogs.FileRequests[1].FileName, Name("lib.icl"));  // starts from the last name
  ASSERT_EQ(dialogs.Questions.size(), 1u);
  EXPECT_EQ(Library(dir.Path() / "lib.icl"), (Listing{{"0", 1}}));
  EXPECT_TRUE(dialogs.Errors.empty());
}

TEST_F(WindowOutputTest, AddToIconLibraryAppendsNamesFromTheExistingCount) {
  WriteIconLibrary(dir.Path() / "five.icl", {{"a", {{32, 4}}},
                                             {"b", {{32, 8}, {16, 8}}},
                                             {"c", {{32, 1}}},
                                             {"d", {{32, 4}}},
                                             {"e", {{32, 24}}}});
  AddIcons({{{32, 8}, {16, 4}}, {{32, 4}}, {{32, 1}, {16, 1}, {48, 1}}});
  Select({0, 2});
  dialogs.FileAnswers = {QStringList{Name("five.icl")}};
  window->Parts().Item("addToLibrary")->trigger();
  EXPECT_EQ(dialogs.FileRequests[0].DialogKind, FileDialogRequest::Kind::Open);
  EXPECT_EQ(Library(dir.Path() / "five.icl"),
            (Listing{{"a", 1}, {"b", 2}, {"c", 1}, {"d", 1}, {"e", 1}, {"5", 2}, {"6", 3}}));

  // Cancelled: nothing changes.
  const auto before = ReadWholeFile(dir.Path() / "five.icl");
  dialogs.FileAnswers = {std::nullopt};
  window->Parts().Item("addToLibrary")->trigger();
  EXPECT_EQ(ReadWholeFile(dir.Path() / "five.icl"), before);
  EXPECT_TRUE(dialogs.Errors.empty());
}

TEST_F(WindowOutputTest, AddOntoAFileThatIsNoIconLibraryIsRefusedAndLeavesIt) {
  const std::vector<std::uint8_t> text = {'n', 'o', 't', 'e', 's', '\n'};
  WriteBytes(dir.Path() / "notes.icl", text);
  AddIcons({{{32, 8}}});
  Select({0});
  dialogs.FileAnswers = {QStringList{Name("notes.icl")}};
  window->Parts().Item("addToLibrary")->trigger();
  ASSERT_EQ(dialogs.Errors.size(), 1u);
  EXPECT_EQ(dialogs.Errors[0].Title, MainWindow::kCaption);
  EXPECT_TRUE(dialogs.Errors[0].Message.contains(Name("notes.icl")));
  EXPECT_TRUE(dialogs.Errors[0].Message.endsWith(QStringLiteral("not an icon library.")));
  EXPECT_EQ(ReadWholeFile(dir.Path() / "notes.icl"), text);
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"notes.icl"});
}

TEST_F(WindowOutputTest, ClipboardGetsTheTileOverWhite) {
  AddIcons({{{16, 4}, {48, 32}, {32, 32}}, {{32, 8}}});
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText(QStringLiteral("before"));
  Select({0, 1});
  window->CopyToClipboardClick();  // two entries: untouched
  EXPECT_EQ(clipboard->text(), QStringLiteral("before"));

  window->Parts().TileView->clearSelection();
  Select({0});
  window->Parts().Item("copyToClipboard")->trigger();
  const QImage image = clipboard->image();
  ASSERT_EQ(image.size(), QSize(32, 32));                // the tile, not the 48x48 image
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));  // transparent border
  EXPECT_EQ(image.pixelColor(16, 16), QColor(Qt::red));  // the square
  EXPECT_EQ(image.pixelColor(31, 31), QColor(Qt::white));
  EXPECT_FALSE(image.hasAlphaChannel());
  EXPECT_TRUE(dialogs.Errors.empty());
}

// The largest image at its own size with its alpha: the bytes exporting it writes.
TEST_F(WindowOutputTest, LargestImageWithTransparencyFromSaveAsBatchAndClipboard) {
  AddIcons({{{16, 4}, {48, 32}, {32, 32}}, {{32, 8}}});
  const auto exported = [this](int entry, int width) {
    const IconImageList& images = window->Harvest().Entries[entry].Icon->Images;
    for (int i = 0; i < images.Count(); ++i) {
      if (RealImageSize(*images.Get(i)).Width == width) return ImagePngBytes(*images.Get(i));
    }
    return std::optional<std::vector<std::uint8_t>>();
  };
  const auto large = exported(0, 48);
  ASSERT_TRUE(large && exported(1, 32));
  Select({0, 1});
  dialogs.FileAnswers = {QStringList{Name("a.png")}, QStringList{Name("b")}};
  dialogs.FilterAnswers = {6, 6};  // a name typed without extension becomes .png
  window->SaveAsClick();
  EXPECT_EQ(ReadWholeFile(dir.Path() / "a.png"), *large);
  EXPECT_EQ(ReadWholeFile(dir.Path() / "b.png"), *exported(1, 32));
  const QImage picture(Name("a.png"), "PNG");
  EXPECT_EQ(picture.size(), QSize(48, 48));
  EXPECT_EQ(picture.pixelColor(0, 0).alpha(), 0);

  dialogs.FolderAnswers = {FromPath(dir.Path())};
  window->Parts().Item("batchPngs")->trigger();
  EXPECT_EQ(FilesInDir(), (std::vector<std::string>{"0.png", "1.png", "a.png", "b.png"}));
  EXPECT_EQ(ReadWholeFile(dir.Path() / "0.png"), *large);

  window->Parts().TileView->clearSelection();
  Select({0});
  window->Parts().Item("copyLargestImage")->trigger();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  const QByteArray png = data->data(QStringLiteral("image/png"));
  EXPECT_EQ(std::vector<std::uint8_t>(png.begin(), png.end()), *large);
  const QImage image = QGuiApplication::clipboard()->image();
  EXPECT_EQ(image.size(), QSize(48, 48));
  EXPECT_TRUE(image.hasAlphaChannel());
  EXPECT_TRUE(dialogs.Errors.empty());
}

TEST_F(WindowOutputTest, NoClipboardIsReportedInTheErrorBox) {
  window->Guarded([] { PutImageOnClipboard(nullptr, QImage(32, 32, QImage::Format_RGB32)); });
  ASSERT_EQ(dialogs.Errors.size(), 1u);
  EXPECT_EQ(dialogs.Errors[0].Message, QStringLiteral("Cannot open clipboard."));
}

}  // namespace
}  // namespace pictarix::testing
