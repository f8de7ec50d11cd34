#include "model/AdvancedIcon.h"

#include <array>
#include <string>

#include "model/IconRecords.h"
#include "model/IconTools.h"
#include "platform/Errors.h"
#include "platform/SafeFile.h"

namespace pictarix {
namespace {

// UTF-8 of a resource name for messages; unpaired surrogates become U+FFFD.
std::string NameForMessage(const ResourceName& name) {
  if (name.IsId) return std::to_string(name.Id);
  std::string out;
  auto put = [&out](std::uint32_t c) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  };
  const std::u16string& s = name.Name;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const std::uint32_t c = s[i];
    const bool high = c >= 0xD800 && c < 0xDC00;
    if (high && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      put(0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00u));
      ++i;
    } else {
      put(c >= 0xD800 && c < 0xE000 ? 0xFFFD : c);
    }
  }
  return out;
}

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
  if (stream.Read(raw) != raw.size()) return false;  // a cut-off header is no icon header
  const IconHeader header = IconHeader::Parse(raw);
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
  TMemoryStream stream(std::move(*group));
  std::uint16_t count = 0;
  if (!ReadHeader(stream, count)) return false;
  for (int i = 0; i < count; ++i) {
    Images.Add(TResourceIconImage::CreateFromResourceEntry(stream, module));
  }
  return true;
}

bool TAdvancedIcon::LoadFromStream(TStream& stream) {
  std::uint16_t count = 0;
  if (!ReadHeader(stream, count)) return false;
  for (int i = 0; i < count; ++i) Images.Add(TFileIconImage::CreateFromFileEntry(stream));
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
