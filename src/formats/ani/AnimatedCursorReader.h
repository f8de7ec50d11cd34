#pragma once
// Reading an animated cursor: a RIFF form "ACON" with its header chunk "anih", optional "rate"
// and "seq " chunks, a "LIST" "fram" of "icon" chunks (each a whole cursor or icon file), and an
// optional "LIST" "INFO" with the title ("INAM") and author ("IART"). Chunks may come in any
// order; nothing in them is trusted.
#include <cstdint>
#include <span>
#include <string>

#include "model/AdvancedIcon.h"

namespace pictarix {

// Whether `bytes` start as a RIFF form of type "ACON".
bool IsAnimatedCursor(std::span<const std::uint8_t> bytes);

// Makes `cursor` an animated cursor (model/Animation.h) from the form in `bytes`; its Images are
// copies of those of the frame its first step shows. FormatError with the reason for a form that
// gives no animation: no RIFF "ACON" form, no "anih", frames stored raw (unsupported), no
// frame that can be read, or more than the read budget of `bytes`. Gives, in plain words, what
// was left out (frames that could not be read, steps naming a missing frame, a chunk cut off by
// the end of the file); empty when nothing was.
std::string ReadAnimatedCursor(std::span<const std::uint8_t> bytes, AdvancedIcon& cursor);

}  // namespace pictarix
