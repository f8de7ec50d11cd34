#include "library/T32BitReader.h"

#include <optional>

#include "library/IconLibrary.h"
#include "platform/CodePage.h"

namespace pictarix {
namespace {

// The integer of a decimal text from 0 to 65535; nothing for any other text.
std::optional<std::uint16_t> DecimalId(std::u16string_view text) {
  if (text.empty()) return std::nullopt;
  std::uint32_t value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + static_cast<std::uint32_t>(c - u'0');
    if (value > 0xFFFF) return std::nullopt;
  }
  return static_cast<std::uint16_t>(value);
}

}  // namespace

T32BitReader::T32BitReader(TIconLibrary& library, std::filesystem::path fileName)
    : T32BitReader(library, std::move(fileName), &OpenModuleAsData) {}

T32BitReader::T32BitReader(TIconLibrary& library, std::filesystem::path fileName,
                           TModuleOpener opener)
    : TICLReader(library, std::move(fileName)), opener_(std::move(opener)) {}

bool T32BitReader::ReadIcons() {
  module_ = opener_(FileName());
  if (!module_) return false;
  loaded_ = true;
  totalIcons_ = module_->IconCount();
  for (const ResourceName& name : module_->EnumResourceNames(kResourceTypeGroupIcon)) {
    ReadGroup(name);
  }
  return true;
}

void T32BitReader::ReadGroup(const ResourceName& name) {
  ++counter_;
  Library().DoProgress(totalIcons_, counter_);

  std::string entryName;
  ResourceName load = name;
  if (name.IsId) {
    entryName = std::to_string(name.Id);
  } else if (!name.Name.empty() && name.Name.front() == u'#') {
    MessageBeepHook();
    const std::u16string_view number = std::u16string_view(name.Name).substr(1);
    if (const auto id = DecimalId(number)) {
      entryName = Utf16ToUtf8(number);
      load = ResourceName::FromId(*id);
    } else {
      // No usable id: the group is loaded by its full name, as any other named group.
      entryName = Utf16ToUtf8(name.Name);
    }
  } else {
    entryName = Utf16ToUtf8(name.Name);
  }

  auto icon = std::make_unique<TAdvancedIcon>();
  // A group whose header is no icon header stays as an icon without images.
  icon->LoadFromResource(*module_, load);
  icons_.push_back(TIconEntry{std::move(entryName), std::move(icon)});
}

}  // namespace pictarix
