#include "ui/dialogs/DetailsDialog.h"

#include <algorithm>

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

#include "harvest/ListEntry.h"
#include "imaging/RgbaPicture.h"
#include "model/Animation.h"
#include "os/Errors.h"
#include "os/SafeFileName.h"
#include "output/OutputFiles.h"
#include "ui/dialogs/CursorPlayer.h"
#include "ui/dialogs/DetailsFrames.h"
#include "ui/dialogs/DetailsPictures.h"
#include "ui/dialogs/DialogFolders.h"
#include "ui/dialogs/ErrorBox.h"
#include "ui/dialogs/FileDialogOptions.h"
#include "ui/list/IconImages.h"
#include "ui/window/QtPaths.h"

namespace pictarix {

namespace {

constexpr int kSquare = 8;  // side of one checkerboard square
const QString kCannotDecode = QStringLiteral("This image cannot be decoded.");

}  // namespace

QPixmap OverCheckerboard(const QImage& picture, const QSize& area) {
  QPixmap result(area);
  result.fill(Qt::transparent);
  QPainter painter(&result);
  const QRect board((area.width() - picture.width()) / 2, (area.height() - picture.height()) / 2,
                    picture.width(), picture.height());
  painter.setClipRect(board);
  for (int y = board.top(); y <= board.bottom(); y += kSquare) {
    for (int x = board.left(); x <= board.right(); x += kSquare) {
      const bool light = (((x - board.left()) / kSquare + (y - board.top()) / kSquare) % 2) == 0;
      painter.fillRect(x, y, kSquare, kSquare,
                       light ? QColor(255, 255, 255) : QColor(204, 204, 204));
    }
  }
  painter.drawImage(board.topLeft(), picture);
  return result;
}

QString DetailsDialog::ImageText(const IconImage& image) {
  const ImageSize size = RealImageSize(image);
  const bool png = IsPngImage(image);
  const auto bytes = std::min<std::size_t>(image.BytesInRes, image.Bytes().size());
  QString text = QStringLiteral("%1 x %2, %3 bits, %4 bytes")
                     .arg(size.Width)
                     .arg(size.Height)
                     .arg(png ? 32 : image.BitCount)
                     .arg(bytes);
  if (png) text += QStringLiteral(", PNG");
  return text;
}

namespace {

// The entry's name and file, selectable.
QFormLayout* CreateFacts(const QString& caption, const ListEntry& entry) {
  auto* facts = new QFormLayout;
  auto* name = new QLabel(caption);
  auto* file = new QLabel(FromPath(entry.File));
  for (QLabel* label : {name, file}) {
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  }
  file->setWordWrap(true);
  facts->addRow(QStringLiteral("Name:"), name);
  facts->addRow(QStringLiteral("File:"), file);
  return facts;
}

FileDialogRequest SaveImageRequest() {
  FileDialogRequest request;
  request.DialogKind = FileDialogRequest::Kind::Save;
  request.Title = QStringLiteral("Save Image as PNG");
  request.Filter = QStringLiteral("PNG pictures|*.png");
  request.DefaultExt = QStringLiteral(".png");
  request.Options = ofOverwritePrompt | ofPathMustExist | ofNoReadOnlyReturn;
  return request;
}

}  // namespace

DetailsDialog::DetailsDialog(const ListEntry& entry, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      icon_(std::make_unique<AdvancedIcon>()),
      caption_(FromUtf8(entry.Caption)) {
  setObjectName(QStringLiteral("DetailsDialog"));
  setWindowTitle(QStringLiteral("Details of %1").arg(caption_));
  if (entry.Icon) icon_->Assign(*entry.Icon);
  listed_ = &icon_->Images;

  QFormLayout* facts = CreateFacts(caption_, entry);
  QLabel* note = nullptr;
  if (icon_->Kind == EntryKind::Animated && icon_->Frames) note = CreatePlayer(*facts);
  CreateImages();
  QDialogButtonBox* buttons = CreateButtons();
  if (player_ != nullptr) {
    // The player shows each frame's largest image until the user picks a size in the list.
    connect(images_, &QListWidget::currentRowChanged, player_, [this](int row) {
      const IconImage* image = listed_->Get(row);
      if (image == nullptr) return;
      const ImageSize size = RealImageSize(*image);
      player_->PickSize(QSize(size.Width, size.Height));
    });
  }

  auto* layout = new QVBoxLayout(this);
  if (player_ != nullptr) layout->addWidget(player_);
  layout->addLayout(facts);
  layout->addWidget(images_, 1);
  if (note != nullptr) layout->addWidget(note);
  layout->addWidget(buttons);
  FitScreen();
  saveRequest_ = SaveImageRequest();
  saveRequest_.InitialDir = StartFolder(kDetailsSavePngFolder);
}

void DetailsDialog::FitScreen() {
  QSize room(1200, 900);
  const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
  // The window manager's frame is not known before the first show: room is left for one.
  if (screen != nullptr) room = room.boundedTo(screen->availableSize() - QSize(16, 48));
  // Around the cells: the dialog's margins, the list's frame and its scroll bar.
  const int chrome = 2 * layout()->contentsMargins().left() + 2 * images_->frameWidth() +
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
  const int gap = 2 * images_->spacing();
  std::vector<QSize> cells;
  int oneRow = 0;
  for (int i = 0; i < images_->count(); ++i) {
    cells.push_back(images_->sizeHintForIndex(images_->model()->index(i, 0)));
    oneRow += cells.back().width() + gap;
  }
  const int width = std::clamp(oneRow + chrome, 360, room.width());
  // The cells flow in rows as the list lays them out at that width.
  int height = gap, rowWidth = 0, rowHeight = 0;
  for (const QSize& cell : cells) {
    if (rowWidth > 0 && rowWidth + cell.width() + gap > width - chrome) {
      height += rowHeight + gap;
      rowWidth = rowHeight = 0;
    }
    rowWidth += cell.width() + gap;
    rowHeight = std::max(rowHeight, cell.height());
  }
  height += rowHeight + 2 * images_->frameWidth();
  const int others = layout()->sizeHint().height() - images_->sizeHint().height();
  resize(width, std::clamp(height + others, 300, room.height()));
}

QLabel* DetailsDialog::CreatePlayer(QFormLayout& facts) {
  const Animation& animation = *icon_->Frames;
  const auto addFact = [&facts](const QString& name, const QString& text) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    facts.addRow(name, label);
  };
  if (!animation.Title.empty()) addFact(QStringLiteral("Title:"), FromUtf8(animation.Title));
  if (!animation.Author.empty()) addFact(QStringLiteral("Author:"), FromUtf8(animation.Author));
  addFact(QStringLiteral("Animation:"), QStringLiteral("%1 frames, %2 steps")
                                            .arg(animation.Frames.size())
                                            .arg(animation.Steps.size()));

  player_ = new CursorPlayer(icon_->Frames);
  auto* space = new QShortcut(QKeySequence(Qt::Key_Space), this);
  connect(space, &QShortcut::activated, player_, &CursorPlayer::TogglePause);

  ListedFrames listed = ListFrames(animation, kMaxListedImages);
  frames_ = std::move(listed.Images);
  frameLabels_ = std::move(listed.Labels);
  listed_ = &frames_;
  if (listed.FramesListed >= animation.Frames.size()) return nullptr;
  auto* note = new QLabel(QStringLiteral("Frames %1 to %2 are not listed; the player shows them.")
                              .arg(listed.FramesListed + 1)
                              .arg(animation.Frames.size()));
  note->setObjectName(QStringLiteral("FramesNote"));
  return note;
}

void DetailsDialog::CreateImages() {
  // Every image in the icon's order, each in a cell of its own size; the pictures are made as
  // their cells are drawn.
  const QWidget* shownOn = parentWidget() != nullptr ? parentWidget() : this;
  pictures_ = std::make_unique<DetailsPictures>(
      *listed_,
      [this](const std::vector<int>& images) {
        // Told while a cell is drawn: the texts change once the drawing is over.
        QMetaObject::invokeMethod(
            this, [this, images] { MarkUndecodable(images); }, Qt::QueuedConnection);
      },
      shownOn->devicePixelRatioF());
  int largest = 32;
  images_ = new QListWidget;
  images_->setObjectName(QStringLiteral("DetailsImages"));
  images_->setAccessibleName(QStringLiteral("Images"));
  images_->setViewMode(QListView::IconMode);
  images_->setMovement(QListView::Static);
  images_->setResizeMode(QListView::Adjust);
  images_->setWordWrap(true);
  images_->setSpacing(6);
  images_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  images_->setItemDelegate(new DetailsDelegate(*pictures_, images_));
  for (int i = 0; i < listed_->Count(); ++i) {
    const QSize cell = pictures_->CellSize(i);
    largest = std::max({largest, cell.width(), cell.height()});
    const IconImage& image = *listed_->Get(i);
    QString text = ImageText(image).replace(QStringLiteral(", "), QStringLiteral("\n"));
    if (image.Hotspot) {
      text += QStringLiteral("\nhotspot %1, %2").arg(image.Hotspot->X).arg(image.Hotspot->Y);
    }
    if (static_cast<std::size_t>(i) < frameLabels_.size()) {
      text = frameLabels_[static_cast<std::size_t>(i)] + QLatin1Char('\n') + text;
    }
    images_->addItem(new DetailsItem(text, *pictures_, i));
  }
  images_->setIconSize(QSize(largest, largest));
}

QDialogButtonBox* DetailsDialog::CreateButtons() {
  save_ = new QPushButton(QStringLiteral("Save as PNG..."));
  copy_ = new QPushButton(QStringLiteral("Copy"));
  save_->setObjectName(QStringLiteral("DetailsSave"));
  copy_->setObjectName(QStringLiteral("DetailsCopy"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->addButton(save_, QDialogButtonBox::ActionRole);
  buttons->addButton(copy_, QDialogButtonBox::ActionRole);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(save_, &QPushButton::clicked, this,
          [this] { RunGuarded(dialogs_, this, [this] { SaveChosen(); }); });
  connect(copy_, &QPushButton::clicked, this,
          [this] { RunGuarded(dialogs_, this, [this] { CopyChosen(); }); });
  // The same two commands on the image under the mouse (a press there makes it the current one).
  for (QPushButton* button : {save_, copy_}) {
    auto* item = new QAction(button->text(), images_);
    connect(item, &QAction::triggered, button, &QPushButton::click);
    images_->addAction(item);
  }
  images_->setContextMenuPolicy(Qt::ActionsContextMenu);
  const auto enable = [this] {
    save_->setEnabled(ChosenImage() >= 0);
    copy_->setEnabled(ChosenImage() >= 0);
    for (QAction* item : images_->actions()) item->setEnabled(ChosenImage() >= 0);
  };
  connect(images_, &QListWidget::currentRowChanged, this, enable);
  if (images_->count() > 0) images_->setCurrentRow(0);
  enable();
  return buttons;
}

DetailsDialog::~DetailsDialog() {
  images_->clear();  // the items ask pictures_, which goes before the widgets do
}

void DetailsDialog::MarkUndecodable(const std::vector<int>& images) {
  for (const int image : images) {
    if (QListWidgetItem* item = images_->item(image)) {
      item->setText(item->text() + QLatin1Char('\n') + kCannotDecode);
    }
  }
  images_->doItemsLayout();  // the cells grew by a line
}

int DetailsDialog::ChosenImage() const {
  const int row = images_->currentRow();
  return row >= 0 && row < listed_->Count() ? row : -1;
}

void DetailsDialog::SaveChosen() {
  const int chosen = ChosenImage();
  if (chosen < 0) return;
  IconImage& image = *listed_->Get(chosen);
  const ImageSize size = RealImageSize(image);
  // The caption is file content: made one safe name, with room for the size and ".png".
  const std::string sizeText = "-" + std::to_string(size.Width) + "x" + std::to_string(size.Height);
  saveRequest_.FileName = FromUtf8(
      SafeFileStem(caption_.toStdString(), kMaxFileNameBytes - sizeText.size() - 4) + sizeText);
  FileDialogAnswer answer;
  if (!RunFileDialog(dialogs_, this, saveRequest_, answer)) return;
  RememberFolder(kDetailsSavePngFolder, saveRequest_.InitialDir);
  const std::optional<std::vector<std::uint8_t>> png = ImagePngBytes(image);
  if (!png) throw PictarixError(kCannotDecode.toStdString());
  SavePictureFile(*png, ToPath(answer.Files.first()));
}

void DetailsDialog::CopyChosen() {
  const int chosen = ChosenImage();
  if (chosen < 0) return;
  IconImage& image = *listed_->Get(chosen);
  const std::optional<RgbaPicture> picture = ImageToRgba(image);
  if (!picture) throw PictarixError(kCannotDecode.toStdString());
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) throw PictarixError("Cannot open clipboard");
  auto data = std::make_unique<QMimeData>();
  const std::vector<std::uint8_t> png = EncodePngRgba(*picture);
  data->setData(QStringLiteral("image/png"), QByteArray(reinterpret_cast<const char*>(png.data()),
                                                        static_cast<qsizetype>(png.size())));
  data->setImageData(ToQImage(*picture));
  clipboard->setMimeData(data.release());  // the clipboard owns it from here
}

}  // namespace pictarix
