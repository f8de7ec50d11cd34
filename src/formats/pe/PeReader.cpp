#include "formats/pe/PeReader.h"

#include <optional>
#include <string>
#include <string_view>

#include "formats/ico/GroupIconReader.h"
#include "os/CodePage.h"
#include "os/Errors.h"

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

// The icon's name in the list, and the name its group is fetched by: "#<number>" names the
// group with that id.
struct GroupName {
  std::string Caption;
  ResourceName Load;
  bool Numbered = false;
};

GroupName NameOf(const ResourceName& name) {
  if (name.IsId) return {std::to_string(name.Id), name, false};
  if (name.Name.empty() || name.Name.front() != u'#') return {Utf16ToUtf8(name.Name), name, false};
  const std::u16string_view number = std::u16string_view(name.Name).substr(1);
  if (const auto id = DecimalId(number)) {
    return {Utf16ToUtf8(number), ResourceName::FromId(*id), true};
  }
  // No usable id: the group is loaded by its full name, as any other named group.
  return {Utf16ToUtf8(name.Name), name, true};
}

}  // namespace

FileIcons ReadPeIcons(PeResources& module, const FileIconsOptions& options) {
  FileIcons read;
  read.Found = Container::PeModule;
  const std::int32_t totalIcons = module.IconCount();
  std::int32_t counter = 0;
  const std::vector<ResourceName> names = module.GroupIconNames();
  std::size_t overLimit = 0;  // groups left out because the read limit was reached
  for (const ResourceName& name : names) {
    if (options.Stop.stop_requested()) break;
    if (options.Progress) options.Progress(totalIcons, ++counter);
    GroupName group = NameOf(name);
    if (group.Numbered) ++read.NumberedGroups;

    auto icon = std::make_unique<AdvancedIcon>();
    const std::uint64_t refusedBefore = module.FetchesOverReadLimit();
    try {
      // A group whose header is no icon header stays as an icon without images.
      ReadGroupIcon(module, group.Load, *icon);
    } catch (const ResNotFound&) {
      // This icon only: the module's other groups are still read.
      if (module.FetchesOverReadLimit() != refusedBefore) ++overLimit;
      continue;
    }
    const bool hasImages = icon->Images.Count() > 0;
    read.Icons.push_back(IconEntry{std::move(group.Caption), std::move(icon)});
    if (hasImages && options.UntilFirstWithImages) break;
  }
  if (overLimit > 0) {
    read.LeftOut = "Part of this file was left out: " + std::to_string(overLimit) + " of " +
                   std::to_string(names.size()) + " icon groups (read limit)";
  }
  return read;
}

}  // namespace pictarix
