#pragma once
// Replacing output files without ever leaving a half-written file under their names.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "os/ByteSink.h"

namespace pictarix {

// Writes `bytes` as the whole content of `target`, whose links are followed as ResolveOutputPath
// allows. The content goes into a new file beside the target, unnamed while it is written where
// the file system allows it (else a hidden named file), is flushed, takes the target's name in
// one rename (one link where nothing had the name), and the folder is flushed. A replaced file's
// owner and group (as far as the user running may give them) and permission bits without setuid,
// setgid and sticky are kept; a new file gets 0666 less the creation mask. The target is never
// truncated or written in place: when no new file can be made beside it, the write is refused and
// the target left as it was. Failures raise FCreateError with "Cannot create file "<target>".
// <reason>" and leave no temporary file behind; a killed process leaves none either where the
// unnamed file is used.
void ReplaceFileContents(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

// ReplaceFileContents, except that the target's own name is never followed: when it is a
// symbolic link, the link itself is replaced by the new file (which then gets 0666 less the
// creation mask), and nothing is written where it points. Links in its folders are followed as
// ResolveOutputPath allows.
void ReplaceFileOrLink(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);

// One file of ReplaceFilesContents; the bytes are only read during the call.
struct FileReplacement {
  std::filesystem::path Target;
  std::span<const std::uint8_t> Bytes;
};

// ReplaceFileContents for many files, with the same guarantees for each file, but cheaper: a
// chunk of new files is written and kept open, flushed to disk together, then each takes its
// target's name, and each folder is flushed once per chunk; the links of a folder are judged
// once per chunk. Answers, in the order given, the
// FCreateError text of each file that could not be written (its target left as it was) or
// nothing for a file written; one file's failure does not stop the others.
std::vector<std::optional<std::string>> ReplaceFilesContents(
    std::span<const FileReplacement> files);

// ReplaceFileContents for content made piece by piece, which need never be held whole: the
// target is judged and the new file made beside it when the writer is made, Write appends to the
// new file, and Commit flushes it and gives it the target's name, with the same guarantees.
// Every failure raises FCreateError with ReplaceFileContents's text and discards the new file;
// a writer destroyed before Commit (an error while the content was made) discards it too. The
// target is left as it was until Commit succeeds.
class SafeFileWriter : public ByteSink {
 public:
  explicit SafeFileWriter(const std::filesystem::path& target);
  ~SafeFileWriter() override;
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  void Write(std::span<const std::uint8_t> bytes) override;
  void Commit();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace pictarix
