#pragma once
// The player of an animated cursor in its Details: the frame of the current step, at the size
// picked (else the frame's largest image), with its hotspot, stepping at the steps' delays; a
// button (and Space, given by the dialog) pauses and resumes. Pictures are made as frames are
// shown, and the last ones kept, so a file of thousands of frames costs what a few of them do.
#include <memory>

#include <QCache>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include "model/Animation.h"

class QLabel;
class QPushButton;

namespace pictarix {

class CursorPlayer : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMaxSide = 256;
  static constexpr int kCacheKiB = 16 * 1024;

  // Plays `animation` from its first step; shares it, so the entry may go while this plays.
  explicit CursorPlayer(std::shared_ptr<const Animation> animation, QWidget* parent = nullptr);

  // A step's delay in milliseconds: jiffies of 1/60 s, rounded.
  static int DelayMs(std::uint32_t jiffies);

  int CurrentStep() const { return step_; }
  bool Paused() const { return paused_; }
  void TogglePause();
  // Shows each frame's image of this size when it has one (an empty size: the largest).
  void PickSize(QSize size);
  // "Step 2 of 8, frame 3, 83 ms"
  QString StatusText() const;
  const QTimer& Timer() const { return timer_; }

 private:
  void Advance();
  void ShowStep();
  // The image of `frame` the player shows, or -1 when it has none.
  int ImageOf(int frame) const;
  QPixmap PictureOf(int frame, int image);

  std::shared_ptr<const Animation> animation_;
  int step_ = 0;
  bool paused_ = false;
  QSize picked_;
  QSize area_;
  QTimer timer_;
  QCache<qint64, QPixmap> pictures_;
  QLabel* picture_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* pause_ = nullptr;
};

}  // namespace pictarix
