#pragma once
// The core tests run under a memory limit (see MemoryLimit.cpp), so that a reader that
// allocates what a hostile file claims fails its test instead of passing on a large machine.

// Whether the tests run under AddressSanitizer, which imposes the limit itself.
#if defined(__SANITIZE_ADDRESS__)
#define PICTARIX_TESTS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PICTARIX_TESTS_ASAN 1
#endif
#endif

namespace pictarix::testing {

// The largest single allocation and the largest resident size a test process may reach.
constexpr unsigned kMaxAllocationMb = 256;
constexpr unsigned kMaxResidentMb = 1024;
// Without AddressSanitizer the address space is limited instead (code and stacks included).
constexpr unsigned long long kAddressSpaceMb = 2048;

}  // namespace pictarix::testing
