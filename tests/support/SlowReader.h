#pragma once
// A harvest reader that takes its time over one file, to see who waits for a slow read.
#include <chrono>
#include <string>

#include "harvest/HarvestEngine.h"

namespace pictarix::testing {

// Reads as the harvest does, but a file whose path ends in `slowSuffix` takes `delay` first, or
// until the run is stopped.
decltype(EngineOptions::Reader) SlowReader(std::string slowSuffix, std::chrono::milliseconds delay);

}  // namespace pictarix::testing
