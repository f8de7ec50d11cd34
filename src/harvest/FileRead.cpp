#include "harvest/FileRead.h"

#include "formats/IconLibrary.h"
#include "formats/ico/IconFileReader.h"
#include "harvest/BestImageIndex.h"
#include "os/CodePage.h"
#include "os/Errors.h"
#include "os/Stream.h"

namespace pictarix {

namespace {

// The name after the last "/" (the folder separator on this platform).
std::string NameWithoutFolder(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The extension test of the icon-file fallback: the characters after the last dot of the name,
// ASCII letters lower-cased, are "ico".
bool HasIcoExtension(const std::string& name) {
  const auto dot = name.find_last_of('.');
  if (dot == std::string::npos || name.size() - dot != 4) return false;
  std::string ext = name.substr(dot + 1);
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return ext == "ico";
}

std::string WithoutExtension(const std::string& name) {
  const auto dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

bool Kept(const AdvancedIcon& icon, int tileImage, const ReadOptions& options) {
  return tileImage >= 0 || (options.KeepIconsWithoutTile && icon.Images.Count() > 0);
}

void AddProblem(FileRead& read, std::string problem) {
  FileFinding finding;
  finding.Problem = std::move(problem);
  read.Findings.push_back(std::move(finding));
}

// The icons the library has just read, each copied out as a finding.
void TakeLibraryIcons(IconLibrary& library, FileRead& read, const ReadOptions& options,
                      const std::stop_token& stop) {
  const int count = library.Icons.Count();
  for (int i = 0; i < count && !stop.stop_requested(); ++i) {
    try {
      AdvancedIcon& icon = library.Icons.Icon(i);
      icon.Images.Sort();  // the order the entry keeps, set once
      const int tileImage = BestImageIndex(icon, 32, 0);
      if (!Kept(icon, tileImage, options)) continue;
      FileFinding finding;
      finding.Icon = std::make_unique<AdvancedIcon>();
      finding.Icon->Assign(icon);
      finding.Caption = library.Icons.Name(i);
      finding.TileImage = tileImage;
      read.Findings.push_back(std::move(finding));
    } catch (...) {
      continue;  // this icon only
    }
  }
}

void ReadAsIconFile(ByteStream& stream, FileRead& read, const ReadOptions& options) {
  try {
    auto icon = std::make_unique<AdvancedIcon>();
    stream.Seek(0);
    ReadIconFile(stream, *icon);
    icon->Images.Sort();  // the order the entry keeps, set once
    const int tileImage = BestImageIndex(*icon, 32, 0);
    if (!Kept(*icon, tileImage, options)) return;
    FileFinding finding;
    finding.Caption = SanitizeUtf8(WithoutExtension(NameWithoutFolder(read.Path)));
    finding.Icon = std::move(icon);
    finding.TileImage = tileImage;
    finding.IconFile = true;
    read.Findings.push_back(std::move(finding));
  } catch (const std::exception& error) {
    // An icon file that cannot be read (one whose images claim more than the read limit allows
    // among them) adds nothing, and is said to be unreadable.
    AddProblem(read, error.what());
  }
}

}  // namespace

FileRead ReadFile(const std::string& path, OpenedFile opened, const ReadOptions& options,
                  std::stop_token stop) {
  FileRead read;
  read.Path = path;
  if (opened.Error == 0 && opened.Handle.Kind != FileKind::Regular) {
    read.Counted = false;  // swapped in: neither counted nor reported
    return read;
  }
  if (opened.Error != 0) {
    read.Complete = false;
    AddProblem(read, SystemErrorText(opened.Error));
    return read;
  }

  FileStream stream(std::move(opened.Handle));
  IconLibrary library;
  library.OnNumberedGroup = [&read] { ++read.Beeps; };
  // Most files of a tree are no module: they are told apart before anything is made for them.
  try {
    bool is32Bit = false;
    if (IconLibrary::IsIconModule(stream, is32Bit)) {
      library.LoadFromStream(path, std::make_unique<BorrowedStream>(stream));
      TakeLibraryIcons(library, read, options, stop);
      // The icons read stay listed; what a limit left out makes the file one that was not
      // wholly read.
      if (!library.LeftOut.empty()) AddProblem(read, library.LeftOut);
    }
  } catch (const std::exception& error) {
    read.Complete = false;
    AddProblem(read, error.what());
    return read;
  }

  if (library.Icons.Count() == 0 && !stop.stop_requested() &&
      HasIcoExtension(NameWithoutFolder(path))) {
    ReadAsIconFile(stream, read, options);
  }
  return read;
}

}  // namespace pictarix
