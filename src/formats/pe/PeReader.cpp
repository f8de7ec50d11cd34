#include "formats/pe/PeReader.h"

#include <optional>

#include "formats/ico/GroupIconReader.h"
#include "os/CodePage.h"

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

PeReader::PeReader(std::filesystem::path fileName, Beep beep)
    : PeReader(std::move(fileName), &OpenModuleAsData, std::move(beep)) {}

PeReader::PeReader(std::filesystem::path fileName, ModuleOpener opener, Beep beep)
    : IconLibraryReader(std::move(fileName)), opener_(std::move(opener)), beep_(std::move(beep)) {}

std::vector<IconEntry> PeReader::ReadIcons(const ProgressCallback& progress) {
  const std::unique_ptr<ModuleResources> module = opener_(FileName());
  if (!module) throw IconLibraryError("Not a valid 32-bit module");
  const std::int32_t totalIcons = module->IconCount();
  std::int32_t counter = 0;
  std::vector<IconEntry> icons;
  const std::vector<ResourceName> names = module->EnumResourceNames(kResourceTypeGroupIcon);
  std::size_t overLimit = 0;  // groups left out because the read limit was reached
  for (const ResourceName& name : names) {
    if (progress) progress(totalIcons, ++counter);

    std::string entryName;
    ResourceName load = name;
    if (name.IsId) {
      entryName = std::to_string(name.Id);
    } else if (!name.Name.empty() && name.Name.front() == u'#') {
      if (beep_) beep_();
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

    auto icon = std::make_unique<AdvancedIcon>();
    const std::uint64_t refusedBefore = module->FetchesOverReadLimit();
    try {
      // A group whose header is no icon header stays as an icon without images.
      ReadGroupIcon(*module, load, *icon);
    } catch (const ResNotFound&) {
      // This icon only: the module's other groups are still read.
      if (module->FetchesOverReadLimit() != refusedBefore) ++overLimit;
      continue;
    }
    icons.push_back(IconEntry{std::move(entryName), std::move(icon)});
  }
  if (overLimit > 0) {
    SetLeftOut("Part of this file was left out: " + std::to_string(overLimit) + " of " +
               std::to_string(names.size()) + " icon groups (read limit)");
  }
  return icons;
}

}  // namespace pictarix
