#pragma once
// Names that reach the window without its Open commands (command line, drops, DDE macros), and
// their harvest.
#include <QStringList>

class QMimeData;

namespace pictarix {

class THarvester;

// Harvests each name in order, a folder as a tree, until Stop is pressed. The list is not
// cleared.
void HarvestNames(THarvester& harvester, const QStringList& names);

// The local files and folders among dropped URLs, in the order the drop lists them.
QStringList LocalNames(const QMimeData* data);

// The names a macro's lines give: lines of fewer than two characters give none; a pair of
// double quotes around a line is removed (a quote at one end only stays).
QStringList MacroNames(const QStringList& lines);

}  // namespace pictarix
