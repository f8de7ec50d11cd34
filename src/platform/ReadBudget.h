#pragma once
// What the readers of one file may allocate for the blocks its directories claim. A well-formed
// file gives about its own size; a hostile one whose entries all claim the same (or overlapping)
// bytes would otherwise multiply them without bound: 65535 entries of an icon file, each
// claiming the whole file, would make 65535 copies of it.
#include <cstdint>

namespace pictarix {

class ReadBudget {
 public:
  // A generous bound: 64 MiB plus 8 times the file's size.
  static constexpr std::uint64_t kBase = 64ull << 20;
  static constexpr std::uint64_t kPerFileByte = 8;
  // What one image costs beyond its data (the image object and its slot in a list).
  static constexpr std::uint64_t kImageOverhead = 128;

  explicit ReadBudget(std::uint64_t fileSize);

  // Takes `bytes` from what is left; false (and nothing taken) when they do not fit.
  bool Spend(std::uint64_t bytes);
  std::uint64_t Left() const { return left_; }

 private:
  std::uint64_t left_;
};

}  // namespace pictarix
