#include "formats/ani/AnimatedCursorWriter.h"

#include <cstdint>
#include <string>
#include <vector>

#include "formats/cur/CursorFileWriter.h"
#include "model/Animation.h"
#include "os/CodePage.h"
#include "os/Errors.h"
#include "os/LittleEndian.h"

namespace pictarix {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kFramesAreFiles = 1;
constexpr std::uint32_t kStepsInSequence = 2;
constexpr std::uint32_t kAniHeaderSize = 36;

void AppendChunk(Bytes& out, std::string_view id, const Bytes& data) {
  if (data.size() > UINT32_MAX - 16) throw FormatError("Animated cursor too large to write");
  out.insert(out.end(), id.begin(), id.end());
  AppendLe32(out, static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
  if (data.size() % 2 != 0) out.push_back(0);
}

// A "LIST" of `type`: the type, then the chunks already laid out in `chunks`.
void AppendList(Bytes& out, std::string_view type, const Bytes& chunks) {
  Bytes list(type.begin(), type.end());
  list.insert(list.end(), chunks.begin(), chunks.end());
  AppendChunk(out, "LIST", list);
}

// An INFO text: Windows-1252, ended by a NUL.
Bytes InfoText(const std::string& utf8) {
  const std::string text = Utf8ToWindows1252(utf8);
  Bytes bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

Bytes BuildForm(const Animation& animation) {
  // Frames without images are left out; the steps name the frames kept by their new places.
  Bytes frames;
  std::vector<std::uint32_t> newIndex(animation.Frames.size());
  std::uint32_t kept = 0;
  for (std::size_t f = 0; f < animation.Frames.size(); ++f) {
    if (animation.Frames[f]->Images.Count() == 0) continue;
    MemoryStream file;
    WriteCursorFile(*animation.Frames[f], file);
    AppendChunk(frames, "icon", file.TakeBytes());
    newIndex[f] = kept++;
  }
  Bytes rates;
  Bytes sequence;
  for (const AnimationStep& step : animation.Steps) {
    AppendLe32(rates, step.Jiffies);
    AppendLe32(sequence, newIndex.at(step.Frame));
  }
  Bytes header;
  const std::uint32_t defaultRate = animation.Steps.empty() ? 1 : animation.Steps.front().Jiffies;
  for (const std::uint32_t field :
       {kAniHeaderSize, kept, static_cast<std::uint32_t>(animation.Steps.size()), 0u, 0u, 0u, 0u,
        defaultRate, kFramesAreFiles | kStepsInSequence})
    AppendLe32(header, field);

  Bytes chunks{'A', 'C', 'O', 'N'};
  if (!animation.Title.empty() || !animation.Author.empty()) {
    Bytes info;
    if (!animation.Title.empty()) AppendChunk(info, "INAM", InfoText(animation.Title));
    if (!animation.Author.empty()) AppendChunk(info, "IART", InfoText(animation.Author));
    AppendList(chunks, "INFO", info);
  }
  AppendChunk(chunks, "anih", header);
  AppendChunk(chunks, "rate", rates);
  AppendChunk(chunks, "seq ", sequence);
  AppendList(chunks, "fram", frames);
  Bytes form;
  AppendChunk(form, "RIFF", chunks);
  return form;
}

}  // namespace

void WriteAnimatedCursor(const AdvancedIcon& cursor, ByteStream& stream) {
  if (cursor.Frames == nullptr) return;
  if (!cursor.Frames->Source.empty()) {
    stream.Write(cursor.Frames->Source);
    return;
  }
  stream.Write(BuildForm(*cursor.Frames));
}

}  // namespace pictarix
