#pragma once
// stdout of pictarix-cli. Everything the commands print goes through here, so that a write that
// fails (a closed pipe with SIGPIPE ignored, a full disk) is seen in one place and ends the run.
#include <stdexcept>
#include <string_view>

namespace pictarix::cli {

// The run's stdout cannot be written; what() is "cannot write output: REASON".
class OutputFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes text to stdout (buffered). False once a write has failed, this one or an earlier one;
// nothing is written after a failure.
bool WriteOutput(std::string_view text);

// Pushes the buffered output out. False once a write has failed.
bool FlushOutput();

// Whether a write to stdout has failed.
bool OutputHasFailed();

// Throws OutputFailed when a write to stdout has failed.
void ThrowIfOutputFailed();

}  // namespace pictarix::cli
