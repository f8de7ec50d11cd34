#pragma once
// Where a writer's bytes go, piece by piece (a file being replaced: SafeFileWriter). Formats
// write through a sink, so that none of them opens a file itself.
#include <cstdint>
#include <span>

namespace pictarix {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Appends `bytes`; a failure raises (the writer of the sink says what).
  virtual void Write(std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace pictarix
