#pragma once
// Names that reach the window without its Open commands (command line, drops, DDE macros), and
// the roots of their harvest.
#include <filesystem>
#include <vector>

#include <QByteArrayList>
#include <QStringList>

#include "harvest/HarvestEngine.h"

class QMimeData;

namespace pictarix {

// Each name in order as a root of the harvest: a folder as a tree, anything else as a file.
std::vector<HarvestRoot> RootsOf(const QStringList& names);
// The same for paths as the file system spells them.
std::vector<HarvestRoot> RootsOf(const std::vector<std::filesystem::path>& paths);

// The local files and folders among dropped URLs, in the order the drop lists them.
QStringList LocalNames(const QMimeData* data);

// The paths a macro's lines (the bytes of names) give, byte for byte: lines of fewer than two
// bytes give none; a pair of double quotes around a line is removed (a quote at one end only
// stays).
std::vector<std::filesystem::path> MacroNames(const QByteArrayList& lines);

}  // namespace pictarix
