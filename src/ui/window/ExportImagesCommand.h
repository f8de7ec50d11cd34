#pragma once
// "Export Images": every image of the selected entries at its own size, with its transparency,
// as PNG files in a chosen folder, named and written exactly as the command-line export does.
#include <vector>

#include <QString>

class QWidget;

namespace pictarix {

class Dialogs;
class Harvester;

// Asks for a folder (starting from `folder`, which keeps the choice) and exports the entries at
// the given positions of the harvest's list, picked once the folder is chosen (the list may
// change while the question is open). Existing files are replaced only after one question; images
// that could not be written are listed afterwards. Answers the number of files written.
// `captionNames`, in and out: the folder dialog's check box "Name files after captions"; when
// checked, files are named after the entries' captions (PlanCaptionExport) instead of their
// positions.
int ExportEntryImages(Dialogs& dialogs, QWidget* parent, const Harvester& harvester,
                      const std::vector<int>& entries, QString& folder, bool& captionNames);

}  // namespace pictarix
