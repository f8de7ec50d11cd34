#pragma once
// The harvest's window, as the command-line tool sees it: a progress line on a terminal, and
// the files that could not be read.
#include <chrono>
#include <filesystem>
#include <string>

#include "harvest/HarvestHost.h"

namespace pictarix::cli {

class CliHost : public HarvestHost {
 public:
  CliHost(bool wantsTiles, bool verbose);
  ~CliHost() override;

  void SetPanelText(int panel, const std::string& text) override;
  void ShowPreview(const IconGraphic&) override {}
  bool WantsTiles() const override { return wantsTiles_; }
  // The progress line is drawn on a terminal only.
  bool ShowsPanels() const override { return terminal_; }
  void EntryAdded(int index) override;
  // A PATH argument that cannot be read is an error of the run; a file inside a tree is counted
  // (and named with --verbose).
  void FileUnreadable(const std::filesystem::path& path, const std::string& reason) override;
  // Named with --verbose only.
  void FileNoted(const std::filesystem::path& path, const std::string& note) override;

  // The PATH argument being harvested now.
  void BeginArgument(const std::filesystem::path& path) { argument_ = path; }
  // Whether a PATH argument could not be read.
  bool ArgumentFailed() const { return argumentFailed_; }
  int UnreadableCount() const { return unreadable_; }
  // Entries made so far.
  int EntryCount() const { return entries_; }

  // Clears the progress line before other text goes to stderr.
  void EndProgress();

 private:
  void DrawProgress();

  bool wantsTiles_;
  bool verbose_;
  bool terminal_;
  bool drawn_ = false;
  bool argumentFailed_ = false;
  int entries_ = 0;
  int unreadable_ = 0;
  std::filesystem::path argument_;
  std::string current_;
  std::string files_;
  std::chrono::steady_clock::time_point lastDraw_{};
};

// Writes "pictarix-cli: <message>" on stderr, control characters escaped.
void Complain(const std::string& message);

}  // namespace pictarix::cli
