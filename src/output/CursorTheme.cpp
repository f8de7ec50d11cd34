#include "output/CursorTheme.h"

#include <span>
#include <string>
#include <system_error>

#include "os/CodePage.h"
#include "os/Errors.h"
#include "os/SafeFile.h"
#include "os/SafeFileName.h"
#include "os/SafeLink.h"

namespace pictarix {

namespace {

// One line of a desktop entry value: valid UTF-8, no control characters.
std::string OneLine(std::string_view text) {
  std::string line = SanitizeUtf8(text);
  for (char& c : line) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return line;
}

void MakeFolder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder, error)) {
    throw FCreateError("Cannot create folder \"" + folder.string() + "\". " +
                       (error ? error.message() : "A file has that name."));
  }
}

}  // namespace

std::string IndexThemeText(std::string_view name, std::string_view comment) {
  return "[Icon Theme]\nName=" + OneLine(name) + "\nComment=" + OneLine(comment) + "\n";
}

CursorThemeWritten WriteCursorTheme(const std::filesystem::path& outputFolder,
                                    std::string_view name, std::string_view comment,
                                    const WriteRoleCursor& writeRole) {
  CursorThemeWritten written;
  written.Folder = outputFolder / SafeFileStem(name, kMaxFileNameBytes);
  const std::filesystem::path cursors = written.Folder / "cursors";
  MakeFolder(cursors);
  const auto roles = CursorRoles();
  for (std::size_t role = 0; role < roles.size(); ++role) {
    const std::span<const std::string_view> names = roles[role].XNames;
    const std::string file(names.front());
    if (!writeRole(role, cursors / file)) {
      written.MissingRoles.push_back(role);
      continue;
    }
    for (std::string_view alias : names.subspan(1)) ReplaceWithLink(cursors / alias, file);
  }
  const std::string index = IndexThemeText(name, comment);
  ReplaceFileContents(written.Folder / "index.theme",
                      std::span(reinterpret_cast<const std::uint8_t*>(index.data()), index.size()));
  return written;
}

}  // namespace pictarix
