#pragma once
// The limits the thumbnailer sets on itself: file managers wait for a thumbnailer without a
// time limit, so a hostile file must not make it run or grow without end.
#include <cstdint>

namespace pictarix::thumbnailer {

constexpr std::uint64_t kCpuSeconds = 2;
constexpr std::uint64_t kAddressSpaceBytes = 512ull << 20;

// Lowers the process's CPU time and address space to the limits above (a lower limit already
// set stays). Running out of CPU time ends the process with exit status 1; running out of
// address space makes allocations fail, which the caller reports as an unreadable file.
void LimitResources();

}  // namespace pictarix::thumbnailer
