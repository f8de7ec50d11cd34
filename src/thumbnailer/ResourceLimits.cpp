#include "thumbnailer/ResourceLimits.h"

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>

// AddressSanitizer reserves terabytes of shadow memory up front, so an address-space limit
// makes a sanitized build fail at start: such builds keep the CPU limit only.
#if defined(__SANITIZE_ADDRESS__)
#define PICTARIX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PICTARIX_ADDRESS_SANITIZER 1
#endif
#endif

namespace pictarix::thumbnailer {
namespace {

void EndOnCpuLimit(int) {
  static constexpr char kMessage[] = "pictarix-thumbnailer: CPU time limit reached\n";
  [[maybe_unused]] const auto written = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
  _exit(1);
}

void Lower(int resource, rlim_t soft, rlim_t hard) {
  rlimit limit{};
  if (getrlimit(resource, &limit) != 0) return;
  limit.rlim_cur = std::min(limit.rlim_cur, soft);
  limit.rlim_max = std::min(limit.rlim_max, hard);
  limit.rlim_cur = std::min(limit.rlim_cur, limit.rlim_max);
  setrlimit(resource, &limit);
}

}  // namespace

void LimitResources() {
  struct sigaction action {};
  action.sa_handler = EndOnCpuLimit;
  sigemptyset(&action.sa_mask);
  sigaction(SIGXCPU, &action, nullptr);
  // SIGXCPU at the soft limit; the hard limit a second later kills outright should the handler
  // never run.
  Lower(RLIMIT_CPU, kCpuSeconds, kCpuSeconds + 1);
#ifndef PICTARIX_ADDRESS_SANITIZER
  Lower(RLIMIT_AS, kAddressSpaceBytes, kAddressSpaceBytes);
#endif
}

}  // namespace pictarix::thumbnailer
