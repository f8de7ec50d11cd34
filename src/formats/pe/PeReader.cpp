#include "formats/pe/PeReader.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "formats/ani/AnimatedCursorReader.h"
#include "formats/cur/CursorRecords.h"
#include "formats/cur/GroupCursorReader.h"
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

// How the groups of one kind are read, and whether their "#<number>" names are counted.
struct GroupReader {
  std::function<void(PeResources&, const ResourceName&, AdvancedIcon&)> Read;
  bool CountsNumbered = true;
  const char* Kind = "icon group";  // in the words of a problem
};

// A resource whose bytes are there but say nothing readable; the module's other groups are read.
struct UnreadableResource {
  std::string Reason;
};

// Reads the groups `names` of one kind with `readGroup` into `read`, progress counted on from
// `counter`; counts in `overLimit` the groups the read limit left out. False when the read ends
// here (a stop, or the first icon with images when that is all that is asked).
bool ReadGroups(PeResources& module, const std::vector<ResourceName>& names,
                const GroupReader& readGroup, const FileIconsOptions& options, std::int32_t total,
                std::int32_t& counter, std::size_t& overLimit, FileIcons& read) {
  for (const ResourceName& name : names) {
    if (options.Stop.stop_requested()) return false;
    if (options.Progress) options.Progress(total, ++counter);
    GroupName group = NameOf(name);
    if (group.Numbered && readGroup.CountsNumbered) ++read.NumberedGroups;

    auto icon = std::make_unique<AdvancedIcon>();
    const std::uint64_t refusedBefore = module.FetchesOverReadLimit();
    try {
      // A group whose header is no header of its kind stays as an entry without images.
      readGroup.Read(module, group.Load, *icon);
    } catch (const ResNotFound&) {
      // This group only: the module's other groups are still read.
      if (module.FetchesOverReadLimit() != refusedBefore) ++overLimit;
      continue;
    } catch (const UnreadableResource& unreadable) {
      read.Unreadable.push_back(std::string(readGroup.Kind) + " " + group.Caption + ": " +
                                unreadable.Reason);
      continue;
    }
    const bool hasImages = icon->Images.Count() > 0;
    read.Icons.push_back(IconEntry{std::move(group.Caption), std::move(icon)});
    if (hasImages && options.UntilFirstWithImages) return false;
  }
  return true;
}

// Animated cursors (or icons) stored whole as resources of `type`. One that cannot be read is
// no entry; why is said among the file's unreadable resources.
GroupReader AnimatedReader(std::uint16_t type, const char* kind) {
  return {[type](PeResources& m, const ResourceName& n, AdvancedIcon& cursor) {
            const auto bytes = m.Resource(type, n);
            if (!bytes) throw ResNotFound("Resource not found");
            try {
              ReadAnimatedCursor(*bytes, cursor);
            } catch (const PictarixError& e) {
              throw UnreadableResource{e.what()};
            }
          },
          false, kind};
}

std::string LeftOutText(std::size_t overLimit, std::size_t groups, const char* kind) {
  return std::to_string(overLimit) + " of " + std::to_string(groups) + " " + kind + " groups";
}

}  // namespace

FileIcons ReadPeIcons(PeResources& module, const FileIconsOptions& options) {
  FileIcons read;
  read.Found = Container::PeModule;
  const std::vector<ResourceName> names = module.GroupIconNames();
  std::vector<ResourceName> cursorNames;
  std::vector<ResourceName> animatedCursors;
  std::vector<ResourceName> animatedIcons;
  if (options.Cursors) {
    cursorNames = module.Names(kResourceTypeGroupCursor);
    animatedCursors = module.Names(kResourceTypeAnimatedCursor);
    animatedIcons = module.Names(kResourceTypeAnimatedIcon);
  }
  const auto total = static_cast<std::int32_t>(names.size() + cursorNames.size() +
                                               animatedCursors.size() + animatedIcons.size());
  std::int32_t counter = 0;
  const GroupReader icons{
      [](PeResources& m, const ResourceName& n, AdvancedIcon& icon) { ReadGroupIcon(m, n, icon); },
      true};
  std::size_t iconsLeftOut = 0;
  std::size_t cursorsLeftOut = 0;
  const GroupReader cursors{[](PeResources& m, const ResourceName& n, AdvancedIcon& cursor) {
                              ReadGroupCursor(m, n, cursor);
                            },
                            false};
  const bool more =
      ReadGroups(module, names, icons, options, total, counter, iconsLeftOut, read) &&
      ReadGroups(module, cursorNames, cursors, options, total, counter, cursorsLeftOut, read) &&
      ReadGroups(module, animatedCursors,
                 AnimatedReader(kResourceTypeAnimatedCursor, "animated cursor"), options, total,
                 counter, cursorsLeftOut, read);
  if (more) {
    ReadGroups(module, animatedIcons, AnimatedReader(kResourceTypeAnimatedIcon, "animated icon"),
               options, total, counter, cursorsLeftOut, read);
  }
  std::vector<std::string> parts;
  if (iconsLeftOut > 0) parts.push_back(LeftOutText(iconsLeftOut, names.size(), "icon"));
  if (cursorsLeftOut > 0)
    parts.push_back(
        LeftOutText(cursorsLeftOut, static_cast<std::size_t>(total) - names.size(), "cursor"));
  if (!parts.empty()) {
    read.LeftOut = "Part of this file was left out: " + parts.front();
    if (parts.size() > 1) read.LeftOut += ", " + parts.back();
    read.LeftOut += " (read limit)";
  }
  return read;
}

}  // namespace pictarix
