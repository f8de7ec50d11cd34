#pragma once
// Replacing a symbolic link (or whatever has its name) in one step, so that the name never
// names nothing or a half-made link.
#include <filesystem>
#include <string_view>

namespace pictarix {

// Makes `link` a symbolic link whose text is `pointsTo` (taken as it is; relative links are
// relative to the link's folder). The link is made under a hidden name beside `link` and
// renamed over it, so a file or link that had the name is replaced at once; the name itself is
// never followed, and links in its folders are followed as ResolveOutputPath allows. A folder
// of that name is not replaced. Failures raise FCreateError with "Cannot create file
// "<link>". <reason>" and leave no hidden link behind.
void ReplaceWithLink(const std::filesystem::path& link, std::string_view pointsTo);

}  // namespace pictarix
