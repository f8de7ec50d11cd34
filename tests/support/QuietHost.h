#pragma once
// A harvest host that shows nothing and handles no messages, for harvests run without a window.
#include <string>

#include "harvest/HarvestHost.h"

namespace pictarix::testing {

class QuietHost : public HarvestHost {
 public:
  explicit QuietHost(bool tiles = true) : tiles_(tiles) {}
  void SetPanelText(int, const std::string&) override {}
  void ShowPreview(const IconGraphic&) override {}
  bool WantsTiles() const override { return tiles_; }

 private:
  bool tiles_;
};

}  // namespace pictarix::testing
