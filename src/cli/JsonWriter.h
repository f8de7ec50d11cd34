#pragma once
// The JSON form of the entries of a listing.
#include <string>
#include <vector>

#include "harvest/ListEntry.h"

namespace pictarix::cli {

// A JSON string literal of `text`. Each byte that is not part of valid UTF-8 (which only a path
// holds: names from resources are valid already) becomes the surrogate escape "\udcXX", so the
// bytes of a file's name can be recovered.
std::string JsonString(const std::string& text);

// One object of the listing array (no trailing comma or newline). With `withKind` (a listing
// that includes cursors) and for every cursor, it holds "kind"; a cursor's images hold their
// "hotspot", an animated cursor its "frames", "steps", and "title" and "author" when it has them.
std::string JsonEntry(int index, const ListEntry& entry, bool withKind = false);

// The word for an entry's kind: "icon", "cursor" or "animated".
const char* KindName(EntryKind kind);

}  // namespace pictarix::cli
