#pragma once
// How far a read or a write of one library has come: `current` of `total` steps done.
#include <cstdint>
#include <functional>

namespace pictarix {

using ProgressCallback = std::function<void(std::int32_t total, std::int32_t current)>;

}  // namespace pictarix
