#pragma once
// A quick and strict check of a whole PNG stream, for writing stored PNG images unchanged
// without decoding each to pixels first.
#include <cstdint>
#include <span>

namespace pictarix {

// True when `data` is a PNG stream that DecodeIconPng decodes: every chunk whole with its CRC,
// a valid header within the icon limits, the palette its colour type needs, one run of image
// data that inflates (checksum included) to exactly the rows the header promises, each with a
// known filter, and the end chunk. False means only that the check is not sure: a stream that
// bends a rule (a damaged text chunk, data after the image) may still decode.
bool IsSoundPng(std::span<const std::uint8_t> data);

}  // namespace pictarix
