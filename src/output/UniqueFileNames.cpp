#include "output/UniqueFileNames.h"

#include <algorithm>

#include "os/SafeFileName.h"

namespace pictarix {

namespace {

std::string AsciiLower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return text;
}

}  // namespace

std::string UniqueFileNames::Take(std::string_view caption, std::string_view tail,
                                  std::string_view extension) {
  std::string suffix = std::string(tail) + std::string(extension);
  for (int n = 2;; ++n) {
    std::string name = SafeFileName(caption, suffix);
    if (taken_.insert(AsciiLower(name)).second) return name;
    const std::string mark =
        repeat_ == Repeat::Parenthesised ? " (" + std::to_string(n) + ")" : "-" + std::to_string(n);
    suffix = std::string(tail) + mark + std::string(extension);
  }
}

}  // namespace pictarix
