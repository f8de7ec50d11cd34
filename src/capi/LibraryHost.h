#pragma once
// The harvest's host inside the library: no tiles, no panels; it remembers what could not be read.
#include <filesystem>
#include <string>

#include "harvest/HarvestHost.h"

namespace pictarix::capi {

class LibraryHost : public HarvestHost {
 public:
  explicit LibraryHost(std::filesystem::path argument) : argument_(std::move(argument)) {}

  void SetPanelText(int, const std::string&) override {}
  void ShowPreview(const IconGraphic&) override {}
  bool WantsTiles() const override { return false; }
  bool ShowsPanels() const override { return false; }
  // The path the harvest was opened with failing is an error of the harvest; a file inside a
  // tree is counted, as pictarix-cli does.
  void FileUnreadable(const std::filesystem::path& path, const std::string& reason) override;

  // Why the opened path could not be read; empty when it could.
  const std::string& ArgumentFailure() const { return argumentFailure_; }
  int UnreadableCount() const { return unreadable_; }

 private:
  std::filesystem::path argument_;
  std::string argumentFailure_;
  int unreadable_ = 0;
};

}  // namespace pictarix::capi
