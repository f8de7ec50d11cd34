#include "formats/ani/AnimatedCursorReader.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "formats/ani/RiffChunks.h"
#include "formats/cur/CursorFileReader.h"
#include "formats/ico/IconFileReader.h"
#include "model/Animation.h"
#include "os/ByteCursor.h"
#include "os/CodePage.h"
#include "os/Errors.h"
#include "os/ReadBudget.h"
#include "os/Stream.h"

namespace pictarix {
namespace {

constexpr std::size_t kAniHeaderSize = 36;
constexpr std::uint32_t kFramesAreFiles = 1;  // flag bit 0; without it frames are raw bitmaps

struct AniHeader {
  std::uint32_t Steps = 0;
  std::uint32_t Rate = 0;  // jiffies of a step without a rate of its own
  std::uint32_t Flags = 0;
};

// The chunks that make the animation, as found (views into the file's bytes).
struct AniParts {
  std::optional<AniHeader> Header;
  std::vector<std::span<const std::uint8_t>> Frames;
  std::span<const std::uint8_t> Rates;
  std::span<const std::uint8_t> Sequence;
  std::string Title;
  std::string Author;
  bool CutOff = false;
};

// An INFO text: the bytes up to the first NUL, Windows-1252.
std::string InfoText(std::span<const std::uint8_t> data) {
  const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
  return Windows1252ToUtf8(std::string(data.begin(), end));
}

// The chunks of a "LIST": frames or texts; any other chunk (a list inside it) is passed over.
void ReadList(std::span<const std::uint8_t> list, AniParts& parts, ReadBudget& budget) {
  if (list.size() < 4) return;
  const std::string_view type(reinterpret_cast<const char*>(list.data()), 4);
  RiffChunks chunks(list.subspan(4));
  RiffChunk chunk;
  while (chunks.Next(chunk)) {
    parts.CutOff = parts.CutOff || chunk.CutOff;
    if (type == "fram" && chunk.Id == "icon") {
      // Millions of tiny frames would cost more than the file can reasonably give.
      if (!budget.Spend(ReadBudget::kImageOverhead))
        throw FormatError("Animated cursor with more frames than the read limit allows");
      parts.Frames.push_back(chunk.Data);
    } else if (type == "INFO" && chunk.Id == "INAM") {
      parts.Title = InfoText(chunk.Data);
    } else if (type == "INFO" && chunk.Id == "IART") {
      parts.Author = InfoText(chunk.Data);
    }
  }
}

AniParts ReadParts(std::span<const std::uint8_t> chunkBytes, ReadBudget& budget) {
  AniParts parts;
  RiffChunks chunks(chunkBytes);
  RiffChunk chunk;
  while (chunks.Next(chunk)) {
    parts.CutOff = parts.CutOff || chunk.CutOff;
    const ByteCursor data(chunk.Data);
    if (chunk.Id == "anih" && data.Size() >= kAniHeaderSize) {
      parts.Header = AniHeader{*data.U32At(8), *data.U32At(28), *data.U32At(32)};
    } else if (chunk.Id == "rate") {
      parts.Rates = chunk.Data;
    } else if (chunk.Id == "seq ") {
      parts.Sequence = chunk.Data;
    } else if (chunk.Id == "LIST") {
      ReadList(chunk.Data, parts, budget);
    }
  }
  return parts;
}

// One frame: a cursor file or an icon file; a frame without images when it is neither or cannot
// be read.
std::unique_ptr<AdvancedIcon> ReadFrame(std::span<const std::uint8_t> bytes, ReadBudget& budget) {
  auto frame = std::make_unique<AdvancedIcon>();
  try {
    MemoryStream stream(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    if (!ReadCursorFile(stream, *frame)) {
      stream.Seek(0);
      ReadIconFile(stream, *frame);
    }
  } catch (const PictarixError&) {
    return std::make_unique<AdvancedIcon>();
  }
  for (int i = 0; i < frame->Images.Count(); ++i) {
    if (!budget.Spend(ReadBudget::kImageOverhead + frame->Images.Get(i)->Bytes().size()))
      throw FormatError("Animated cursor larger than the read limit allows");
  }
  return frame;
}

// The steps after "seq " and "rate" (the header's rate where a step has none, 1 for 0); a step
// naming a frame that is not there, or has no images, is left out and counted in `missing`.
std::vector<AnimationStep> ReadSteps(const AniParts& parts, const Animation& animation,
                                     std::size_t& missing) {
  const ByteCursor sequence(parts.Sequence);
  const ByteCursor rates(parts.Rates);
  const std::uint64_t stated = parts.Header->Steps;
  std::uint64_t count = parts.Sequence.empty() ? animation.Frames.size() : sequence.Size() / 4;
  if (stated > 0) count = std::min(count, stated);
  std::vector<AnimationStep> steps;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint32_t frame =
        parts.Sequence.empty() ? static_cast<std::uint32_t>(i) : *sequence.U32At(i * 4);
    const std::uint32_t jiffies = rates.U32At(i * 4).value_or(parts.Header->Rate);
    if (frame >= animation.Frames.size() || animation.Frames[frame]->Images.Count() == 0) {
      ++missing;
      continue;
    }
    steps.push_back(AnimationStep{frame, std::max<std::uint32_t>(jiffies, 1)});
  }
  return steps;
}

std::string LeftOutText(const AniParts& parts, std::size_t badFrames, std::size_t missingSteps) {
  std::vector<std::string> notes;
  if (badFrames > 0)
    notes.push_back(std::to_string(badFrames) + " of " + std::to_string(parts.Frames.size()) +
                    " frames could not be read");
  if (missingSteps > 0) notes.push_back(std::to_string(missingSteps) + " steps name no frame");
  if (parts.CutOff) notes.push_back("a chunk is cut off by the end of the file");
  std::string text;
  for (const std::string& note : notes) text += (text.empty() ? "" : "; ") + note;
  return text;
}

}  // namespace

bool IsAnimatedCursor(std::span<const std::uint8_t> bytes) {
  RiffForm form;
  return ReadRiffForm(bytes, form) && form.Type == "ACON";
}

std::string ReadAnimatedCursor(std::span<const std::uint8_t> bytes, AdvancedIcon& cursor) {
  RiffForm form;
  if (!ReadRiffForm(bytes, form) || form.Type != "ACON")
    throw FormatError("Not an animated cursor");
  ReadBudget budget(bytes.size());
  const AniParts parts = ReadParts(form.Chunks, budget);
  if (!parts.Header) throw FormatError("Animated cursor without its header chunk (anih)");
  if (!(parts.Header->Flags & kFramesAreFiles))
    throw FormatError("Animated cursor with raw frames: not supported");
  auto animation = std::make_shared<Animation>();
  std::size_t badFrames = 0;
  for (const auto frameBytes : parts.Frames) {
    animation->Frames.push_back(ReadFrame(frameBytes, budget));
    if (animation->Frames.back()->Images.Count() == 0) ++badFrames;
  }
  if (badFrames == animation->Frames.size())
    throw FormatError("Animated cursor without a frame that can be read");
  std::size_t missingSteps = 0;
  animation->Steps = ReadSteps(parts, *animation, missingSteps);
  animation->Title = parts.Title;
  animation->Author = parts.Author;
  animation->Source.assign(bytes.begin(), bytes.end());

  // The tile's frame: the first step's, or the first frame with images when no step is left.
  std::size_t shown = 0;
  if (!animation->Steps.empty()) {
    shown = animation->Steps.front().Frame;
  } else {
    while (animation->Frames[shown]->Images.Count() == 0) ++shown;
  }
  const IconImageList& images = animation->Frames[shown]->Images;
  cursor.Images.Clear();
  cursor.Images.SetCapacity(images.Count());
  for (int i = 0; i < images.Count(); ++i) cursor.Images.Add(IconImage::CreateCopy(*images.Get(i)));
  cursor.Kind = EntryKind::Animated;
  cursor.Frames = std::move(animation);
  return LeftOutText(parts, badFrames, missingSteps);
}

}  // namespace pictarix
