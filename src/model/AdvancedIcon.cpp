#include "model/AdvancedIcon.h"

#include <array>
#include <string>

#include "model/HiResIcon.h"
#include "model/IconFileBlocks.h"
#include "model/IconRecords.h"
#include "platform/ByteCursor.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"
#include "platform/SafeFile.h"

namespace pictarix {
namespace {

// The name as the platform's "Resource %s not found" shows it.
std::string NameForMessage(const ResourceName& name) {
  return name.IsId ? std::to_string(name.Id) : Utf16ToUtf8(name.Name);
}

// Moves a stream to Position on every way out of a scope.
struct StreamPositionAtExit {
  explicit StreamPositionAtExit(TStream& stream) : Stream(stream), Position(stream.Position()) {}
  ~StreamPositionAtExit() { Stream.Seek(Position); }
  StreamPositionAtExit(const StreamPositionAtExit&) = delete;
  StreamPositionAtExit& operator=(const StreamPositionAtExit&) = delete;

  TStream& Stream;
  std::uint64_t Position;
};

}  // namespace

void TAdvancedIcon::Assign(const TAdvancedIcon& source) {
  if (&source == this) return;  // clearing first would destroy the source
  Images.Clear();
  Images.SetCapacity(source.Images.Count());
  for (int i = 0; i < source.Images.Count(); ++i) {
    if (const TIconImage* image = source.Images.Get(i)) Images.Add(TIconImage::CreateCopy(*image));
  }
}

void TAdvancedIcon::AssignGraphic(const THiResIcon& graphic) {
  Images.Clear();
  TMemoryStream stream;
  graphic.SaveToStream(stream);
  stream.Seek(0);
  LoadFromStream(stream);
}

bool TAdvancedIcon::ReadHeader(TStream& stream, std::uint16_t& count) {
  std::array<std::uint8_t, kIconHeaderSize> raw{};
  const std::size_t got = stream.Read(raw);
  return BeginImages(ByteCursor(std::span(raw.data(), got)), count);
}

bool TAdvancedIcon::BeginImages(ByteCursor directory, std::uint16_t& count) {
  const auto raw = directory.TakeRecord<kIconHeaderSize>();
  if (!raw) return false;  // a cut-off header is no icon header
  const IconHeader header = IconHeader::Parse(*raw);
  if (!header.IsIcon()) return false;
  count = header.Count;
  Images.SetCapacity(count);
  return true;
}

bool TAdvancedIcon::LoadFromResource(TModuleResources& module, std::uint16_t id) {
  return LoadFromResource(module, ResourceName::FromId(id));
}

bool TAdvancedIcon::LoadFromResource(TModuleResources& module, const std::u16string& name) {
  return LoadFromResource(module, ResourceName::FromName(name));
}

bool TAdvancedIcon::LoadFromResource(TModuleResources& module, const ResourceName& name) {
  auto group = module.FindResource(kResourceTypeGroupIcon, name);
  if (!group) throw EResNotFound("Resource " + NameForMessage(name) + " not found");
  ByteCursor directory(*group);
  std::uint16_t count = 0;
  if (!BeginImages(directory, count)) return false;
  directory.Skip(kIconHeaderSize);
  for (int i = 0; i < count; ++i) {
    // An entry cut off by the end of the group reads as zeros.
    Images.Add(TResourceIconImage::CreateFromResourceEntry(
        directory.TakeZeroFilled<kGroupEntrySize>(), module));
  }
  return true;
}

bool TAdvancedIcon::LoadFromStream(TStream& stream) {
  std::uint16_t count = 0;
  if (!ReadHeader(stream, count)) return false;
  // The stream ends up after the last entry read, also when that entry's image is refused.
  StreamPositionAtExit after(stream);
  // The whole directory in one read; entries cut off by the end of the file read as zeros.
  std::vector<std::uint8_t> entries(std::size_t{kIconFileEntrySize} * count);
  entries.resize(stream.Read(entries));
  ByteCursor directory(entries);
  TIconFileBlocks blocks(stream);
  for (int i = 0; i < count; ++i) {
    after.Position += kIconFileEntrySize;
    Images.Add(TFileIconImage::CreateFromFileEntry(directory.TakeZeroFilled<kIconFileEntrySize>(),
                                                   blocks));
  }
  return true;
}

bool TAdvancedIcon::LoadFromFile(const std::filesystem::path& path) {
  Images.Clear();
  TFileStream stream(path);
  return LoadFromStream(stream);
}

void TAdvancedIcon::SaveToStream(TStream& stream) const {
  const std::uint16_t count = Images.Count();
  if (count == 0) return;
  // Data blocks follow the directory contiguously, in list order. Every offset must fit the
  // entry's 32 bits, or the file could not describe itself: refuse before writing anything.
  std::vector<std::uint32_t> offsets(count);
  std::uint64_t offset = kIconHeaderSize + std::uint64_t{kIconFileEntrySize} * count;
  for (int i = 0; i < count; ++i) {
    if (offset > UINT32_MAX) throw EFormatError("Icon too large for an icon file");
    offsets[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(offset);
    offset += Images.Get(i)->BytesInRes;
  }
  IconHeader{0, kIconResourceType, count}.Write(stream);
  for (int i = 0; i < count; ++i) {
    IconFileEntry{Images.Get(i)->EntryFields(), offsets[static_cast<std::size_t>(i)]}.Write(stream);
  }
  for (int i = 0; i < count; ++i) Images.Get(i)->WriteData(stream);
}

void TAdvancedIcon::SaveToFile(const std::filesystem::path& path) const {
  TMemoryStream stream;
  SaveToStream(stream);
  if (stream.Size() > 0) ReplaceFileContents(path, stream.Bytes());
}

}  // namespace pictarix
