#include "ui/dialogs/DetailsFrames.h"

#include <QStringList>

#include "ui/dialogs/CursorPlayer.h"

namespace pictarix {

namespace {

constexpr int kStepLines = 3;

// How many whole frames fit in `maxImages` (the first one always).
std::size_t FramesWithin(const Animation& animation, int maxImages) {
  std::size_t frames = 0;
  long long count = 0;
  for (const auto& frame : animation.Frames) {
    count += frame ? frame->Images.Count() : 0;
    if (frames > 0 && count > maxImages) break;
    ++frames;
  }
  return frames;
}

}  // namespace

std::vector<QString> StepLines(const Animation& animation, std::size_t frames, int maxLines) {
  std::vector<QStringList> lines(frames);
  std::vector<std::size_t> more(frames, 0);
  // One pass over the steps, however many there are.
  for (std::size_t i = 0; i < animation.Steps.size(); ++i) {
    const AnimationStep& step = animation.Steps[i];
    if (step.Frame >= frames) continue;
    QStringList& frameLines = lines[step.Frame];
    if (frameLines.size() < maxLines) {
      frameLines
          << QStringLiteral("Step %1: %2 ms").arg(i + 1).arg(CursorPlayer::DelayMs(step.Jiffies));
    } else {
      ++more[step.Frame];
    }
  }
  std::vector<QString> result;
  for (std::size_t frame = 0; frame < frames; ++frame) {
    if (lines[frame].isEmpty()) lines[frame] << QStringLiteral("Shown by no step");
    if (more[frame] > 0) lines[frame] << QStringLiteral("and %1 more steps").arg(more[frame]);
    result.push_back(lines[frame].join(QLatin1Char('\n')));
  }
  return result;
}

ListedFrames ListFrames(const Animation& animation, int maxImages) {
  ListedFrames listed;
  listed.FramesListed = FramesWithin(animation, maxImages);
  const std::vector<QString> steps = StepLines(animation, listed.FramesListed, kStepLines);
  for (std::size_t frame = 0; frame < listed.FramesListed; ++frame) {
    const AdvancedIcon* icon = animation.Frames[frame].get();
    const QString label = QStringLiteral("Frame %1\n").arg(frame + 1) + steps[frame];
    for (int i = 0; icon != nullptr && i < icon->Images.Count(); ++i) {
      if (listed.Images.Count() == 65535) return listed;  // the most a list holds
      listed.Images.Add(IconImage::CreateCopy(*icon->Images.Get(i)));
      listed.Labels.push_back(label);
    }
  }
  return listed;
}

}  // namespace pictarix
