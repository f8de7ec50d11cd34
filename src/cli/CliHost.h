#pragma once
// The harvest's window, as the command-line tool sees it: a progress line on a terminal.
#include <chrono>
#include <string>

#include "harvest/HarvestHost.h"

namespace pictarix::cli {

class CliHost : public THarvestHost {
 public:
  explicit CliHost(bool wantsTiles);
  ~CliHost() override;

  void SetPanelText(int panel, const std::string& text) override;
  void ShowPreview(const THiResIcon&) override {}
  void ProcessMessages() override;
  bool WantsTiles() const override { return wantsTiles_; }
  void EntryAdded(int index) override { entries_ = index + 1; }

  // Clears the progress line before other text goes to stderr.
  void EndProgress();

 private:
  void DrawProgress();

  bool wantsTiles_;
  bool terminal_;
  bool drawn_ = false;
  int entries_ = 0;
  std::string current_;
  std::string files_;
  std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace pictarix::cli
