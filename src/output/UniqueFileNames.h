#pragma once
// Names of files written together into one folder, made from captions: each a safe file name
// (SafeFileName) handed out once, so that entries sharing a caption do not overwrite each other.
#include <set>
#include <string>
#include <string_view>

namespace pictarix {

class UniqueFileNames {
 public:
  // How a repeated name is told apart: "name (2).ico" (as a file manager copies) or
  // "name-2.png" (as export numbers its repeats).
  enum class Repeat { Parenthesised, Dashed };

  explicit UniqueFileNames(Repeat repeat) : repeat_(repeat) {}

  // SafeFileName(caption, tail + extension), or, when that is taken, the same with the repeat
  // mark of 2, 3, ... between `tail` and `extension`; taken from now on. Names are compared
  // without ASCII case, as Windows file systems and shares compare them.
  std::string Take(std::string_view caption, std::string_view tail, std::string_view extension);

 private:
  Repeat repeat_;
  std::set<std::string> taken_;  // lower-cased
};

}  // namespace pictarix
