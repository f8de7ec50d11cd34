#include "cli/CliHost.h"

#include <cstdio>

#include "os/EscapedText.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace pictarix::cli {

void Complain(const std::string& message) {
  std::fprintf(stderr, "pictarix-cli: %s\n", EscapeControlChars(message).c_str());
}

CliHost::CliHost(bool wantsTiles, bool verbose) : wantsTiles_(wantsTiles), verbose_(verbose) {
#ifndef _WIN32
  terminal_ = ::isatty(STDERR_FILENO) == 1;
#else
  terminal_ = false;
#endif
}

CliHost::~CliHost() {
  EndProgress();
}

void CliHost::SetPanelText(int panel, const std::string& text) {
  if (!terminal_) return;
  if (panel == 0) current_ = EscapeControlChars(text);
  if (panel == 1) files_ = text;
  DrawProgress();
}

void CliHost::EntryAdded(int index) {
  entries_ = index + 1;
  if (terminal_) DrawProgress();
}

void CliHost::FileUnreadable(const std::filesystem::path& path, const std::string& reason) {
  const bool isArgument = path == argument_;
  if (isArgument) {
    argumentFailed_ = true;
  } else {
    ++unreadable_;
  }
  if (isArgument || verbose_) {
    EndProgress();
    Complain(path.string() + ": " + reason);
  }
}

void CliHost::FileNoted(const std::filesystem::path& path, const std::string& note) {
  if (!verbose_) return;
  EndProgress();
  Complain(path.string() + ": " + note);
}

void CliHost::DrawProgress() {
  // A few redraws a second are enough for a person and cost nothing in a long run.
  const auto now = std::chrono::steady_clock::now();
  if (drawn_ && now - lastDraw_ < std::chrono::milliseconds(100)) return;
  lastDraw_ = now;
  std::string line = files_ + ", " + std::to_string(entries_) + " icons  " + current_;
  if (line.size() > 78) line = line.substr(0, 75) + "...";
  std::fprintf(stderr, "\r\033[K%s", line.c_str());
  std::fflush(stderr);
  drawn_ = true;
}

void CliHost::EndProgress() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace pictarix::cli
