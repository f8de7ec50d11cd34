#include "harvest/FileRead.h"

#include <exception>

#include "formats/FileIcons.h"
#include "harvest/BestImageIndex.h"
#include "harvest/CursorHotspots.h"
#include "os/Errors.h"
#include "os/Stream.h"

namespace pictarix {

namespace {

bool Kept(const AdvancedIcon& icon, int tileImage, const ReadOptions& options) {
  return tileImage >= 0 || (options.KeepIconsWithoutTile && icon.Images.Count() > 0);
}

void AddProblem(FileRead& read, std::string problem) {
  FileFinding finding;
  finding.Problem = std::move(problem);
  read.Findings.push_back(std::move(finding));
}

// The message of an error held for later.
std::string WhatOf(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    return e.what();
  }
}

// The icons read, each moved into a finding.
void TakeIcons(FileIcons& icons, FileRead& read, const ReadOptions& options,
               const std::stop_token& stop) {
  for (IconEntry& entry : icons.Icons) {
    if (stop.stop_requested()) break;
    try {
      AdvancedIcon& icon = *entry.Icon;
      icon.Images.Sort();  // the order the entry keeps, set once
      const bool hotspotMoved = KeepHotspotsInside(icon);
      const int tileImage = BestImageIndex(icon, 32, 0);
      if (!Kept(icon, tileImage, options)) continue;
      FileFinding finding;
      finding.Icon = std::move(entry.Icon);
      finding.Caption = std::move(entry.Name);
      finding.TileImage = tileImage;
      finding.HotspotMoved = hotspotMoved;
      finding.IconFile = icons.Found == Container::IconFile || icons.Found == Container::CursorFile;
      read.Findings.push_back(std::move(finding));
    } catch (...) {
      continue;  // this icon only
    }
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
  FileIconsOptions readOptions;
  readOptions.Stop = stop;
  readOptions.Cursors = options.Cursors;
  readOptions.CursorFiles = options.CursorFiles;
  FileIcons icons;
  try {
    icons = ReadFileIcons(stream, path, readOptions);
  } catch (const std::exception& error) {
    read.Complete = false;
    AddProblem(read, error.what());
    return read;
  }
  read.Beeps = icons.NumberedGroups;
  TakeIcons(icons, read, options, stop);
  // The icons read stay listed; what a limit left out makes the file one that was not wholly
  // read. An icon file that cannot be read (one whose images claim more than the read limit
  // allows among them) adds nothing, and is said to be unreadable.
  if (!icons.LeftOut.empty()) AddProblem(read, std::move(icons.LeftOut));
  for (std::string& unreadable : icons.Unreadable) AddProblem(read, std::move(unreadable));
  if (icons.IconFileError) AddProblem(read, WhatOf(icons.IconFileError));
  return read;
}

}  // namespace pictarix
