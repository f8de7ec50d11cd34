#include "ui/dialogs/CursorPlayer.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <new>
#include <optional>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "imaging/RgbaPicture.h"
#include "output/XcursorFile.h"
#include "ui/dialogs/DetailsDialog.h"
#include "ui/dialogs/HotspotMark.h"
#include "ui/list/IconImages.h"

namespace pictarix {

namespace {

const QString kPause = QStringLiteral("Pause");
const QString kPlay = QStringLiteral("Play");

QSize ShownSize(const IconImage& image, int maxSide) {
  const ImageSize size = SizeWithin(RealImageSize(image), maxSide);
  return {size.Width, size.Height};
}

// The area every frame is shown in: the largest frame image, within kMaxSide.
QSize PlayerArea(const Animation& animation) {
  QSize area(32, 32);
  for (const auto& frame : animation.Frames) {
    for (int i = 0; frame && i < frame->Images.Count(); ++i) {
      area = area.expandedTo(ShownSize(*frame->Images.Get(i), CursorPlayer::kMaxSide));
    }
  }
  return area;
}

}  // namespace

CursorPlayer::CursorPlayer(std::shared_ptr<const Animation> animation, QWidget* parent)
    : QWidget(parent), animation_(std::move(animation)), pictures_(kCacheKiB) {
  setObjectName(QStringLiteral("CursorPlayer"));
  area_ = PlayerArea(*animation_);
  picture_ = new QLabel;
  picture_->setFixedSize(area_);
  picture_->setAlignment(Qt::AlignCenter);
  picture_->setWordWrap(true);
  status_ = new QLabel;
  status_->setObjectName(QStringLiteral("PlayerStatus"));
  pause_ = new QPushButton(kPause);
  pause_->setObjectName(QStringLiteral("PlayerPause"));
  pause_->setToolTip(QStringLiteral("Pause or resume the animation (Space)"));
  pause_->setEnabled(animation_->Steps.size() > 1);
  connect(pause_, &QPushButton::clicked, this, &CursorPlayer::TogglePause);

  auto* controls = new QVBoxLayout;
  controls->addWidget(status_);
  controls->addWidget(pause_, 0, Qt::AlignLeft);
  controls->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(picture_);
  layout->addLayout(controls, 1);

  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &CursorPlayer::Advance);
  ShowStep();
}

int CursorPlayer::DelayMs(std::uint32_t jiffies) {
  const std::uint32_t ms = DelayMilliseconds(jiffies);
  return static_cast<int>(std::min<std::uint32_t>(ms, std::numeric_limits<int>::max()));
}

void CursorPlayer::TogglePause() {
  paused_ = !paused_;
  pause_->setText(paused_ ? kPlay : kPause);
  if (paused_) {
    timer_.stop();
  } else {
    Advance();
  }
}

void CursorPlayer::PickSize(QSize size) {
  if (size == picked_) return;
  picked_ = size;
  ShowStep();
}

QString CursorPlayer::StatusText() const {
  const auto& steps = animation_->Steps;
  if (steps.empty()) return QStringLiteral("No steps");
  const AnimationStep& step = steps[static_cast<std::size_t>(step_)];
  return QStringLiteral("Step %1 of %2, frame %3, %4 ms")
      .arg(step_ + 1)
      .arg(steps.size())
      .arg(step.Frame + 1)
      .arg(DelayMs(step.Jiffies));
}

void CursorPlayer::Advance() {
  const auto count = animation_->Steps.size();
  if (count > 1) step_ = static_cast<int>((static_cast<std::size_t>(step_) + 1) % count);
  ShowStep();
}

void CursorPlayer::ShowStep() {
  const auto& steps = animation_->Steps;
  const int frame =
      steps.empty() ? 0 : static_cast<int>(steps[static_cast<std::size_t>(step_)].Frame);
  const int image = ImageOf(frame);
  const QPixmap shown = image >= 0 ? PictureOf(frame, image) : QPixmap();
  if (shown.isNull()) {
    picture_->setText(QStringLiteral("This frame cannot be shown."));
  } else {
    picture_->setPixmap(shown);
  }
  status_->setText(StatusText());
  if (!paused_ && steps.size() > 1) {
    timer_.start(DelayMs(steps[static_cast<std::size_t>(step_)].Jiffies));
  }
}

int CursorPlayer::ImageOf(int frame) const {
  if (frame < 0 || static_cast<std::size_t>(frame) >= animation_->Frames.size()) return -1;
  const AdvancedIcon* icon = animation_->Frames[static_cast<std::size_t>(frame)].get();
  if (icon == nullptr) return -1;
  int best = -1;
  std::int64_t bestArea = -1;
  for (int i = 0; i < icon->Images.Count(); ++i) {
    const ImageSize size = RealImageSize(*icon->Images.Get(i));
    if (picked_.isValid() && QSize(size.Width, size.Height) == picked_) return i;
    const std::int64_t area = std::int64_t{size.Width} * size.Height;
    if (area > bestArea) {
      best = i;
      bestArea = area;
    }
  }
  return best;
}

QPixmap CursorPlayer::PictureOf(int frame, int image) {
  const qint64 key = (qint64{frame} << 16) | image;
  if (const QPixmap* cached = pictures_.object(key)) return *cached;
  const IconImage& source = *animation_->Frames[static_cast<std::size_t>(frame)]->Images.Get(image);
  std::optional<RgbaPicture> picture;
  try {
    picture = ImageToRgbaWithin(source, kMaxSide);
  } catch (const std::bad_alloc&) {
    picture.reset();
  }
  if (!picture) return {};
  const QImage shown = ToQImage(*picture);
  QPixmap board = OverCheckerboard(shown, area_);
  if (source.Hotspot) {
    const ImageSize real = RealImageSize(source);
    const QRect at(
        QPoint((area_.width() - shown.width()) / 2, (area_.height() - shown.height()) / 2),
        shown.size());
    board = WithHotspot(board, at, QSize(real.Width, real.Height), *source.Hotspot);
  }
  const qsizetype cost = std::max<qsizetype>(1, board.width() * board.height() * 4 / 1024);
  auto cached = std::make_unique<QPixmap>(board);
  pictures_.insert(key, cached.release(), cost);  // the cache owns it from here
  return board;
}

}  // namespace pictarix
