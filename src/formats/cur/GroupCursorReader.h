#pragma once
// Reading a group-cursor resource of a module into a cursor: a header of type 2 and 14-byte
// entries, each naming the cursor resource (hotspot, then image) that holds its image.
#include "formats/pe/PeResources.h"
#include "model/AdvancedIcon.h"

namespace pictarix {

// Makes `cursor` a cursor holding the images of the group-cursor resource `name`; false when
// its header is no cursor header. A missing group or image resource raises ResNotFound
// ("Resource %s not found").
bool ReadGroupCursor(PeResources& module, const ResourceName& name, AdvancedIcon& cursor);

}  // namespace pictarix
