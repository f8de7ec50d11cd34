#pragma once
// The reader of 32-bit (PE) modules: every group-icon resource becomes one icon named after the
// resource.
#include "formats/FileIcons.h"
#include "formats/pe/PeResources.h"

namespace pictarix {

// The module's icons, also none, in directory order. A group that cannot be fetched, or that
// lists an image the module lacks, is left out; groups left out because the module's read limit
// was reached are counted in LeftOut. Sets Icons, LeftOut and NumberedGroups.
FileIcons ReadPeIcons(PeResources& module, const FileIconsOptions& options);

}  // namespace pictarix
