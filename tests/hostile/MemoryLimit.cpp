// AddressSanitizer reserves terabytes of address space, so an address-space limit would stop it
// at once: under it, its own limits apply (one allocation above kMaxAllocationMb, or a resident
// size above kMaxResidentMb, ends the test with a report; ASAN_OPTIONS can still override).
// Without it, the address space of the test process is limited before any test runs.
#include "hostile/MemoryLimit.h"

#ifdef PICTARIX_TESTS_ASAN

static_assert(pictarix::testing::kMaxAllocationMb == 256 &&
                  pictarix::testing::kMaxResidentMb == 1024,
              "keep the option text below in step with the limits");

extern "C" const char* __asan_default_options() {
  return "max_allocation_size_mb=256:hard_rss_limit_mb=1024";
}

#elif defined(__unix__)

#include <sys/resource.h>

namespace {

[[maybe_unused]] const bool kAddressSpaceLimited = [] {
  const rlim_t wanted = rlim_t{pictarix::testing::kAddressSpaceMb} << 20;
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0) return false;
  if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur <= wanted) return true;  // stricter
  limit.rlim_cur = wanted;
  return setrlimit(RLIMIT_AS, &limit) == 0;
}();

}  // namespace

#endif
