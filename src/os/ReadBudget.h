#pragma once
// What the readers of one file may allocate for the blocks its directories claim. A well-formed
// file gives about its own size; a hostile one whose entries all claim the same (or overlapping)
// bytes would otherwise multiply them without bound: 65535 entries of an icon file, each
// claiming the whole file, would make 65535 copies of it. The budget follows what the storage
// really holds for the file (a sparse file of 4 GiB may hold 8 KiB), never more than a fixed
// ceiling, and no single claim may exceed what any icon image needs.
#include <cstdint>

namespace pictarix {

class ByteStream;

class ReadBudget {
 public:
  // A generous bound: 64 MiB plus 8 times the bytes the file holds, at most 1 GiB.
  static constexpr std::uint64_t kBase = 64ull << 20;
  static constexpr std::uint64_t kPerFileByte = 8;
  static constexpr std::uint64_t kCeiling = 1ull << 30;
  // The largest single claim: an image of 256x256 pixels at 32 bits takes 0.25 MiB.
  static constexpr std::uint64_t kMaxClaim = 32ull << 20;
  // What one image costs beyond its data (the image object and its slot in a list).
  static constexpr std::uint64_t kImageOverhead = 128;

  // For a file that holds `storedBytes`.
  explicit ReadBudget(std::uint64_t storedBytes);
  // For the bytes `stream` really holds.
  explicit ReadBudget(const ByteStream& stream);

  // Takes `bytes` from what is left; false (and nothing taken) when they do not fit or exceed
  // kMaxClaim.
  bool Spend(std::uint64_t bytes);
  std::uint64_t Left() const { return left_; }
  // How many claims were refused: what a reader left out of the file, for it to say so.
  std::uint64_t Refusals() const { return refusals_; }

 private:
  std::uint64_t left_;
  std::uint64_t refusals_ = 0;
};

}  // namespace pictarix
