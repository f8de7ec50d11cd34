#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "hostile/MemoryLimit.h"

namespace pictarix {
namespace {

// The limit the hostile tests rely on is in force: an allocation far beyond it fails.
TEST(MemoryLimitTest, AnAllocationBeyondTheLimitFails) {
  const std::size_t beyond = std::size_t{testing::kAddressSpaceMb + testing::kMaxAllocationMb}
                             << 20;
#ifdef PICTARIX_TESTS_ASAN
  EXPECT_DEATH(std::vector<char>(beyond, 1),
               "allocation-size-too-big|exceeds maximum|out-of-memory|out of memory");
#else
  EXPECT_THROW(std::vector<char>(beyond, 1), std::bad_alloc);
#endif
}

}  // namespace
}  // namespace pictarix
