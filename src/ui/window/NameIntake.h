#pragma once
// Names that reach the window without its Open commands (command line, drops, DDE macros), and
// their harvest.
#include <filesystem>
#include <vector>

#include <QByteArrayList>
#include <QStringList>

class QMimeData;

namespace pictarix {

class THarvester;

// Harvests each name in order, a folder as a tree, until Stop is pressed. The list is not
// cleared.
void HarvestNames(THarvester& harvester, const QStringList& names);
// The same for paths as the file system spells them.
void HarvestPaths(THarvester& harvester, const std::vector<std::filesystem::path>& paths);

// The local files and folders among dropped URLs, in the order the drop lists them.
QStringList LocalNames(const QMimeData* data);

// The paths a macro's lines (the bytes of names) give, byte for byte: lines of fewer than two
// bytes give none; a pair of double quotes around a line is removed (a quote at one end only
// stays).
std::vector<std::filesystem::path> MacroNames(const QByteArrayList& lines);

}  // namespace pictarix
