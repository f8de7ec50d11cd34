#pragma once
// The JSON form of the entries of a listing.
#include <ostream>
#include <string>
#include <vector>

#include "harvest/ListEntry.h"

namespace pictarix::cli {

// A JSON string literal of `text`; bytes that are not valid UTF-8 become U+FFFD.
std::string JsonString(const std::string& text);

// One object of the listing array (no trailing comma or newline).
void WriteJsonEntry(std::ostream& out, int index, const TListEntry& entry);

}  // namespace pictarix::cli
