#include "os/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <random>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "os/Errors.h"
#include "os/OutputPath.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <fstream>
#endif

namespace pictarix {

namespace {

std::string CreateErrorText(const std::filesystem::path& path, const std::string& reason) {
  return "Cannot create file \"" + path.string() + "\". " + reason;
}

[[noreturn]] void ThrowCreateError(const std::filesystem::path& path, const std::string& reason) {
  throw FCreateError(CreateErrorText(path, reason));
}

// A hidden name beside `name` for the new file before its rename; kept short enough for the
// file system's name limit.
std::string HiddenName(const std::string& name) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::string hidden = ".";
  hidden += name.substr(0, 200);
  hidden += '.';
  for (int i = 0; i < 8; ++i) hidden += kLetters[random() % (sizeof kLetters - 1)];
  return hidden;
}

#ifndef _WIN32

constexpr int kAttempts = 100;  // hidden names tried before giving up
// An answer meaning the unnamed way is not available here (file system, no /proc).
constexpr int kNoUnnamedFile = -1;
// Files a batch keeps open at once, well under the descriptor limit.
constexpr std::size_t kMostFilesOpen = 256;
// Below this many files on one file system, each file is flushed on its own rather than the
// whole file system at once (which also writes out whatever other programs left unwritten).
constexpr std::size_t kFilesForWholeFlush = 8;

class OwnedDescriptor {
 public:
  explicit OwnedDescriptor(int fd = -1) : fd_(fd) {}
  ~OwnedDescriptor() { Reset(); }
  OwnedDescriptor(OwnedDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  OwnedDescriptor& operator=(OwnedDescriptor&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  int Get() const { return fd_; }
  // Closes now and answers the error close reports (a delayed write error), or 0.
  int Close() {
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0 ? 0 : errno;
  }
  void Reset() {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
  }

 private:
  int fd_;
};

int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return 0;
}

// The replaced file's owner and group go to the new file; only root may give a file away, and
// any user may give it a group of their own. Mode bits that run a program as its owner
// (setuid, setgid) or the sticky bit are never copied onto a file written by someone else.
int KeepOwnerAndMode(int fd, const struct stat& old) {
  struct stat made {};
  if (::fstat(fd, &made) != 0) return errno;
  if (made.st_uid != old.st_uid || made.st_gid != old.st_gid) {
    const bool root = ::geteuid() == 0;
    const uid_t owner = root ? old.st_uid : static_cast<uid_t>(-1);
    if (::fchown(fd, owner, old.st_gid) != 0 && root) return errno;
  }
  return ::fchmod(fd, old.st_mode & 0777) == 0 ? 0 : errno;
}

// Gives the unnamed file `fd` the name `name` in `folder`: 0, an errno value (EEXIST when the
// name is taken) or kNoUnnamedFile.
int LinkDescriptor(int fd, int folder, const std::string& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (::linkat(AT_FDCWD, self.c_str(), folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  if (errno == EEXIST) return EEXIST;
  // Without /proc, only a user who may open files by handle can name it.
  if (::linkat(fd, "", folder, name.c_str(), AT_EMPTY_PATH) == 0) return 0;
  return errno == EEXIST ? EEXIST : kNoUnnamedFile;
}

// Gives the unnamed file `fd` a new hidden name beside `name`, kept in `hidden`.
int LinkUnnamed(int fd, int folder, std::string& hidden, const std::string& name) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    hidden = HiddenName(name);
    const int error = LinkDescriptor(fd, folder, hidden);
    if (error == 0) return 0;
    if (error != EEXIST) {
      hidden.clear();
      return error;
    }
  }
  hidden.clear();
  return EEXIST;
}

int CreateNamed(int folder, std::string& hidden, const std::string& name) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    hidden = HiddenName(name);
    const int fd = ::openat(folder, hidden.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST) break;
  }
  const int error = errno;
  hidden.clear();
  errno = error;
  return -1;
}

// The folder a target is created in, or -1 with errno. A folder that may be entered but not
// listed still takes new files, but is opened as a path only and cannot be flushed.
int OpenFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0 || errno != EACCES) return fd;
  return ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
}

bool IsPathOnly(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags < 0 || (flags & O_PATH) != 0;
}

// Why the file named `name` in `folder` cannot be replaced, if it cannot; fills `old` with what
// is there now (st_mode 0 when nothing is).
std::optional<std::string> CheckTarget(int folder, const std::string& name, struct stat& old) {
  old = {};
  if (::fstatat(folder, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) != 0) {
    old = {};
    return std::nullopt;
  }
  if (S_ISDIR(old.st_mode)) return SystemErrorText(EISDIR);
  if (!S_ISREG(old.st_mode)) return "It is not a regular file";
  return std::nullopt;
}

// A new file written beside its target, not yet under the target's name. Each step answers 0,
// an errno value or kNoUnnamedFile, and on failure leaves nothing behind.
class StagedFile {
 public:
  // Makes the file (unnamed, or under a hidden name) and writes `bytes` into it; `old` is the
  // file it replaces (st_mode 0: none).
  int Write(int folder, const std::string& name, std::span<const std::uint8_t> bytes,
            const struct stat& old, bool unnamed) {
    const int error = Open(folder, name, old, unnamed);
    return error == 0 ? Append(folder, bytes) : error;
  }

  // Makes the empty file. An unnamed file is also readable, so that its content can still be
  // copied into a named one where it cannot be linked.
  int Open(int folder, const std::string& name, const struct stat& old, bool unnamed) {
    const int fd = unnamed ? ::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666)
                           : CreateNamed(folder, hidden_, name);
    if (fd < 0) {
      // Kernels and file systems without unnamed files answer one of these.
      const bool lacking = errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL;
      return unnamed && lacking ? kNoUnnamedFile : errno;
    }
    file_ = OwnedDescriptor(fd);
    const int error = old.st_mode != 0 ? KeepOwnerAndMode(fd, old) : 0;
    if (error != 0) Discard(folder);
    return error;
  }

  int Append(int folder, std::span<const std::uint8_t> bytes) {
    const int error = WriteAll(file_.Get(), bytes);
    if (error != 0) Discard(folder);
    return error;
  }

  int Descriptor() const { return file_.Get(); }

  int Flush(int folder) {
    if (::fsync(file_.Get()) == 0) return 0;
    const int error = errno;
    Discard(folder);
    return error;
  }

  // Links and closes the file, then renames it over `name`; the target is replaced only when
  // every step before the rename has succeeded. Where nothing had the name when it was checked
  // (`fresh`), the whole file takes the name in one link, which never replaces what may have
  // appeared since. An unnamed file that cannot be linked here (kNoUnnamedFile) stays open,
  // for its content to be copied.
  int Publish(int folder, const std::string& name, bool fresh) {
    if (fresh && hidden_.empty()) {
      const int linked = LinkDescriptor(file_.Get(), folder, name);
      if (linked == 0) {
        const int closed = file_.Close();
        if (closed != 0) ::unlinkat(folder, name.c_str(), 0);
        return closed;
      }
      if (linked != EEXIST) return linked;
    }
    int error = 0;
    if (hidden_.empty()) {
      error = LinkUnnamed(file_.Get(), folder, hidden_, name);
      if (error == kNoUnnamedFile) return error;
    }
    if (const int closed = file_.Close(); error == 0) error = closed;
    if (error == 0 && ::renameat(folder, hidden_.c_str(), folder, name.c_str()) != 0) error = errno;
    if (error != 0) {
      Discard(folder);
      return error;
    }
    hidden_.clear();
    return 0;
  }

  void Discard(int folder) {
    if (!hidden_.empty()) ::unlinkat(folder, hidden_.c_str(), 0);
    hidden_.clear();
    file_.Reset();
  }

 private:
  OwnedDescriptor file_;
  std::string hidden_;
};

// Writes the new file and renames it over `name`, each step on its own.
int TryReplace(int folder, const std::string& name, std::span<const std::uint8_t> bytes,
               const struct stat& old, bool unnamed) {
  StagedFile staged;
  int error = staged.Write(folder, name, bytes, old, unnamed);
  if (error == 0) error = staged.Flush(folder);
  if (error == 0) error = staged.Publish(folder, name, old.st_mode == 0);
  if (error != 0) return error;
  ::fsync(folder);  // the rename is done; a folder opened only as a path cannot be flushed
  return 0;
}

int ReplaceInFolder(int folder, const std::string& name, std::span<const std::uint8_t> bytes,
                    const struct stat& old) {
  const int error = TryReplace(folder, name, bytes, old, true);
  return error == kNoUnnamedFile ? TryReplace(folder, name, bytes, old, false) : error;
}

// The folders of one chunk of a batch, each opened once, and which of them took a new name.
class ChunkFolders {
 public:
  struct Folder {
    OwnedDescriptor Fd;
    dev_t Device = 0;
    bool Renamed = false;
  };

  // The folder, or nullptr with errno.
  Folder* Open(const std::filesystem::path& path) {
    if (const auto known = folders_.find(path); known != folders_.end()) return &known->second;
    OwnedDescriptor fd(OpenFolder(path));
    struct stat status {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &status) != 0) return nullptr;
    return &folders_.emplace(path, Folder{std::move(fd), status.st_dev, false}).first->second;
  }

  // A descriptor that flushes the whole file system `device`, or -1.
  int WholeFlushOf(dev_t device) const {
    for (const auto& [path, folder] : folders_)
      if (folder.Device == device && !IsPathOnly(folder.Fd.Get())) return folder.Fd.Get();
    return -1;
  }

  void FlushRenamed() const {
    for (const auto& [path, folder] : folders_)
      if (folder.Renamed) ::fsync(folder.Fd.Get());
  }

 private:
  std::map<std::filesystem::path, Folder> folders_;
};

// One file of a chunk on its way to its target.
struct PendingFile {
  std::size_t Index = 0;
  ChunkFolders::Folder* Folder = nullptr;
  std::string Name;
  struct stat Old {};
  StagedFile Staged;
  bool Failed = false;
};

// Folders with their links resolved, each once.
class ResolvedFolders {
 public:
  // What ResolveOutputPath answers for `target` where the target's own name is no link; raises
  // as it does.
  std::filesystem::path Of(const std::filesystem::path& target) {
    const std::filesystem::path name = target.filename();
    if (name.empty() || name == "." || name == "..") return ResolveOutputPath(target);
    std::filesystem::path parent = target.parent_path();
    if (parent.empty()) parent = ".";
    auto [known, added] = folders_.try_emplace(parent);
    if (added) {
      try {
        known->second = ResolveOutputPath(parent);
      } catch (const FCreateError&) {
        // Refused below with the file's own path in the message.
      }
    }
    return known->second ? *known->second / name : ResolveOutputPath(target);
  }

 private:
  std::map<std::filesystem::path, std::optional<std::filesystem::path>> folders_;
};

// Finds the folder and name `target` is written to, and what is there now (in `file`); the
// refusal text when it may not be written. The file's own name, when it is a link, is judged
// with the whole path.
std::optional<std::string> LocateTarget(const std::filesystem::path& target,
                                        ResolvedFolders& resolved, ChunkFolders& folders,
                                        PendingFile& file) {
  for (const bool whole : {false, true}) {
    std::filesystem::path path;
    try {
      path = whole ? ResolveOutputPath(target) : resolved.Of(target);
    } catch (const FCreateError& e) {
      return e.what();
    }
    file.Name = path.filename().string();
    if (file.Name.empty()) return CreateErrorText(target, SystemErrorText(EISDIR));
    file.Folder = folders.Open(path.parent_path());
    if (file.Folder == nullptr) return CreateErrorText(target, SystemErrorText(errno));
    const auto refused = CheckTarget(file.Folder->Fd.Get(), file.Name, file.Old);
    if (!whole && S_ISLNK(file.Old.st_mode)) continue;
    if (refused) return CreateErrorText(target, *refused);
    return std::nullopt;
  }
  return std::nullopt;
}

std::size_t FilesOpenAtOnce() {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
    return kMostFilesOpen;
  // Leave three quarters of the descriptors to the program and to the chunk's folders.
  return std::clamp<std::size_t>(limit.rlim_cur / 4, 1, kMostFilesOpen);
}

// Flushes the written files of a chunk: the whole file system at once where many files wait on
// it (a file's own flush still checks it for a write error then, without waiting for the
// disk), otherwise each file on its own. Files that cannot be flushed are reported and dropped.
void FlushChunk(std::vector<PendingFile>& pending, const ChunkFolders& folders,
                std::vector<std::optional<std::string>>& results,
                std::span<const FileReplacement> files) {
  std::map<dev_t, std::size_t> perDevice;
  for (const PendingFile& file : pending) ++perDevice[file.Folder->Device];
  std::map<dev_t, bool> flushedWhole;
  for (const auto& [device, count] : perDevice) {
    const int whole = count >= kFilesForWholeFlush ? folders.WholeFlushOf(device) : -1;
    flushedWhole[device] = whole >= 0 && ::syncfs(whole) == 0;
  }
  for (PendingFile& file : pending) {
    const int folder = file.Folder->Fd.Get();
    int error = 0;
    if (flushedWhole[file.Folder->Device]) {
      const unsigned flags =
          SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
      if (::sync_file_range(file.Staged.Descriptor(), 0, 0, flags) != 0) {
        error = errno;
        file.Staged.Discard(folder);
      }
    } else {
      error = file.Staged.Flush(folder);
    }
    if (error != 0) {
      file.Failed = true;
      results[file.Index] = CreateErrorText(files[file.Index].Target, SystemErrorText(error));
    }
  }
}

void ReplaceChunk(std::span<const FileReplacement> files, std::size_t first, std::size_t count,
                  std::vector<std::optional<std::string>>& results) {
  ChunkFolders folders;
  ResolvedFolders resolved;
  std::vector<PendingFile> pending;
  pending.reserve(count);
  const auto fail = [&](std::size_t index, const std::string& reason) {
    results[index] = CreateErrorText(files[index].Target, reason);
  };
  for (std::size_t index = first; index < first + count; ++index) {
    const FileReplacement& file = files[index];
    PendingFile next;
    next.Index = index;
    if (auto refused = LocateTarget(file.Target, resolved, folders, next)) {
      results[index] = std::move(*refused);
      continue;
    }
    const int folder = next.Folder->Fd.Get();
    int error = next.Staged.Write(folder, next.Name, file.Bytes, next.Old, true);
    if (error == kNoUnnamedFile)
      error = next.Staged.Write(folder, next.Name, file.Bytes, next.Old, false);
    if (error != 0) {
      fail(index, SystemErrorText(error));
      continue;
    }
    pending.push_back(std::move(next));
  }

  FlushChunk(pending, folders, results, files);
  for (PendingFile& file : pending) {
    if (file.Failed) continue;
    const int folder = file.Folder->Fd.Get();
    int error = file.Staged.Publish(folder, file.Name, file.Old.st_mode == 0);
    // An unnamed file that cannot be named here is written again the named way.
    if (error == kNoUnnamedFile) {
      file.Staged.Discard(folder);
      error = TryReplace(folder, file.Name, files[file.Index].Bytes, file.Old, false);
    }
    if (error != 0)
      fail(file.Index, SystemErrorText(error));
    else
      file.Folder->Renamed = true;
  }
  folders.FlushRenamed();
}

// Copies the whole content of the readable file `from` into a new hidden file beside `name`
// and renames it over `name`, as TryReplace does.
int CopyIntoNamedFile(int from, int folder, const std::string& name, const struct stat& old) {
  StagedFile named;
  int error = named.Open(folder, name, old, false);
  std::vector<std::uint8_t> buffer(std::size_t{1} << 20);
  for (off_t offset = 0; error == 0;) {
    const ssize_t n = ::pread(from, buffer.data(), buffer.size(), offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n < 0) {
        error = errno;
        named.Discard(folder);
      }
      break;
    }
    error = named.Append(folder, std::span(buffer.data(), static_cast<std::size_t>(n)));
    offset += n;
  }
  if (error == 0) error = named.Flush(folder);
  if (error == 0) error = named.Publish(folder, name, old.st_mode == 0);
  return error;
}

#endif

}  // namespace

#ifndef _WIN32

struct SafeFileWriter::State {
  std::filesystem::path Target;
  OwnedDescriptor Folder;
  std::string Name;
  struct stat Old {};
  StagedFile Staged;
  bool Done = false;  // committed, or failed and discarded

  [[noreturn]] void Fail(int error) {
    Staged.Discard(Folder.Get());
    Done = true;
    ThrowCreateError(Target, SystemErrorText(error));
  }
};

SafeFileWriter::SafeFileWriter(const std::filesystem::path& target)
    : state_(std::make_unique<State>()) {
  State& state = *state_;
  state.Target = target;
  const std::filesystem::path path = ResolveOutputPath(target);
  state.Name = path.filename().string();
  if (state.Name.empty()) ThrowCreateError(target, SystemErrorText(EISDIR));
  state.Folder = OwnedDescriptor(OpenFolder(path.parent_path()));
  if (state.Folder.Get() < 0) ThrowCreateError(target, SystemErrorText(errno));
  if (const auto refused = CheckTarget(state.Folder.Get(), state.Name, state.Old))
    ThrowCreateError(target, *refused);
  int error = state.Staged.Open(state.Folder.Get(), state.Name, state.Old, true);
  if (error == kNoUnnamedFile)
    error = state.Staged.Open(state.Folder.Get(), state.Name, state.Old, false);
  if (error != 0) ThrowCreateError(target, SystemErrorText(error));
}

SafeFileWriter::~SafeFileWriter() {
  if (!state_->Done) state_->Staged.Discard(state_->Folder.Get());
}

void SafeFileWriter::Write(std::span<const std::uint8_t> bytes) {
  State& state = *state_;
  if (state.Done) ThrowCreateError(state.Target, SystemErrorText(EBADF));
  if (const int error = state.Staged.Append(state.Folder.Get(), bytes); error != 0)
    state.Fail(error);
}

void SafeFileWriter::Commit() {
  State& state = *state_;
  if (state.Done) ThrowCreateError(state.Target, SystemErrorText(EBADF));
  const int folder = state.Folder.Get();
  int error = state.Staged.Flush(folder);
  if (error == 0) error = state.Staged.Publish(folder, state.Name, state.Old.st_mode == 0);
  // An unnamed file that cannot be named here is copied into a named one.
  if (error == kNoUnnamedFile)
    error = CopyIntoNamedFile(state.Staged.Descriptor(), folder, state.Name, state.Old);
  if (error != 0) state.Fail(error);
  state.Done = true;
  ::fsync(folder);  // the rename is done; a folder opened only as a path cannot be flushed
}

#else

struct SafeFileWriter::State {
  std::filesystem::path Target;
  std::filesystem::path Path;
  std::filesystem::path Temporary;
  std::ofstream Out;
  bool Done = false;

  [[noreturn]] void Fail(const std::string& reason) {
    Out.close();
    std::error_code ignored;
    std::filesystem::remove(Temporary, ignored);
    Done = true;
    ThrowCreateError(Target, reason);
  }
};

SafeFileWriter::SafeFileWriter(const std::filesystem::path& target)
    : state_(std::make_unique<State>()) {
  State& state = *state_;
  state.Target = target;
  state.Path = ResolveOutputPath(target);
  const std::string name = state.Path.filename().string();
  if (name.empty()) ThrowCreateError(target, SystemErrorText(EISDIR));
  state.Temporary = state.Path.parent_path() / HiddenName(name);
  state.Out.open(state.Temporary, std::ios::binary | std::ios::trunc);
  if (!state.Out) state.Fail(SystemErrorText(EIO));
}

SafeFileWriter::~SafeFileWriter() {
  if (state_->Done) return;
  state_->Out.close();
  std::error_code ignored;
  std::filesystem::remove(state_->Temporary, ignored);
}

void SafeFileWriter::Write(std::span<const std::uint8_t> bytes) {
  State& state = *state_;
  if (state.Done) ThrowCreateError(state.Target, SystemErrorText(EBADF));
  state.Out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
  if (!state.Out) state.Fail(SystemErrorText(EIO));
}

void SafeFileWriter::Commit() {
  State& state = *state_;
  if (state.Done) ThrowCreateError(state.Target, SystemErrorText(EBADF));
  if (!state.Out.flush()) state.Fail(SystemErrorText(EIO));
  state.Out.close();
  std::error_code error;
  std::filesystem::rename(state.Temporary, state.Path, error);
  if (error) state.Fail(error.message());
  state.Done = true;
}

#endif

void ReplaceFileContents(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
  const std::filesystem::path path = ResolveOutputPath(target);
  const std::string name = path.filename().string();
  if (name.empty()) ThrowCreateError(target, SystemErrorText(EISDIR));
#ifdef _WIN32
  const std::filesystem::path temporary = path.parent_path() / HiddenName(name);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      out.close();
      std::filesystem::remove(temporary);
      ThrowCreateError(target, SystemErrorText(EIO));
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::filesystem::remove(temporary);
    ThrowCreateError(target, error.message());
  }
#else
  const OwnedDescriptor folder(OpenFolder(path.parent_path()));
  if (folder.Get() < 0) ThrowCreateError(target, SystemErrorText(errno));
  struct stat old {};
  if (const auto refused = CheckTarget(folder.Get(), name, old)) ThrowCreateError(target, *refused);
  if (const int error = ReplaceInFolder(folder.Get(), name, bytes, old); error != 0)
    ThrowCreateError(target, SystemErrorText(error));
#endif
}

void ReplaceFileOrLink(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
#ifdef _WIN32
  ReplaceFileContents(target, bytes);
#else
  const std::string name = target.filename().string();
  if (name.empty() || name == "." || name == "..")
    ThrowCreateError(target, SystemErrorText(EISDIR));
  const std::filesystem::path parent = target.parent_path();
  const OwnedDescriptor folder(OpenFolder(ResolveOutputPath(parent.empty() ? "." : parent)));
  if (folder.Get() < 0) ThrowCreateError(target, SystemErrorText(errno));
  struct stat old {};
  if (::fstatat(folder.Get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 &&
      S_ISLNK(old.st_mode)) {
    old = {};  // the link goes as if nothing had the name: the rename replaces it
  } else if (const auto refused = CheckTarget(folder.Get(), name, old)) {
    ThrowCreateError(target, *refused);
  }
  if (const int error = ReplaceInFolder(folder.Get(), name, bytes, old); error != 0)
    ThrowCreateError(target, SystemErrorText(error));
#endif
}

std::vector<std::optional<std::string>> ReplaceFilesContents(
    std::span<const FileReplacement> files) {
  std::vector<std::optional<std::string>> results(files.size());
#ifdef _WIN32
  for (std::size_t i = 0; i < files.size(); ++i) {
    try {
      ReplaceFileContents(files[i].Target, files[i].Bytes);
    } catch (const FCreateError& e) {
      results[i] = e.what();
    }
  }
#else
  const std::size_t chunk = FilesOpenAtOnce();
  for (std::size_t first = 0; first < files.size(); first += chunk)
    ReplaceChunk(files, first, std::min(chunk, files.size() - first), results);
#endif
  return results;
}

}  // namespace pictarix
