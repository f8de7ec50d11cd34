#include "cli/Output.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include "os/Errors.h"

namespace pictarix::cli {

namespace {

int failure = 0;  // errno of the first write that failed

void NoteFailure() {
  if (failure == 0) failure = errno != 0 ? errno : EIO;
}

}  // namespace

bool WriteOutput(std::string_view text) {
  if (failure != 0) return false;
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) NoteFailure();
  return failure == 0;
}

bool FlushOutput() {
  if (failure != 0) return false;
  errno = 0;
  if (std::fflush(stdout) != 0) NoteFailure();
  return failure == 0;
}

bool OutputHasFailed() {
  return failure != 0;
}

void ThrowIfOutputFailed() {
  if (failure != 0) throw OutputFailed("cannot write output: " + SystemErrorText(failure));
}

}  // namespace pictarix::cli
