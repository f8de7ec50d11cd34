#include "support/SlowReader.h"

#include <thread>

namespace pictarix::testing {

decltype(EngineOptions::Reader) SlowReader(std::string slowSuffix,
                                           std::chrono::milliseconds delay) {
  return [slowSuffix, delay](const std::string& path, OpenedFile opened, const ReadOptions& options,
                             std::stop_token stop) {
    if (path.ends_with(slowSuffix)) {
      const auto until = std::chrono::steady_clock::now() + delay;
      while (!stop.stop_requested() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return ReadFile(path, std::move(opened), options, stop);
  };
}

}  // namespace pictarix::testing
