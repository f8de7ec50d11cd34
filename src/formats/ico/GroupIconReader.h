#pragma once
// Reading a group-icon resource of a module into an icon: the group's header and 14-byte
// entries, each naming the icon resource that holds its image.
#include "formats/pe/PeResources.h"
#include "model/AdvancedIcon.h"

namespace pictarix {

// Appends to `icon` the images of the group-icon resource `name`; false when its header is no
// icon header. A missing group or image resource raises ResNotFound ("Resource %s not found").
bool ReadGroupIcon(PeResources& module, const ResourceName& name, AdvancedIcon& icon);

}  // namespace pictarix
