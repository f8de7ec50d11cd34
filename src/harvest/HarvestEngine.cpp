#include "harvest/HarvestEngine.h"

#include <fcntl.h>

#include <algorithm>

#include "harvest/TreeWalk.h"
#include "os/Errors.h"

namespace pictarix {

namespace {

using Clock = std::chrono::steady_clock;

// Files read ahead of the consumer per reader: enough to keep every reader busy while the
// consumer catches up, few enough that memory stays flat.
constexpr std::size_t kAheadPerReader = 32;
// The walk hands files over in chunks, closed at this many files, this many bytes or this age,
// whichever comes first: handing a file between threads costs more than reading the parts of a
// module the harvest reads (its headers and resources), so files go to a reader together; only a
// very large one goes alone.
constexpr std::size_t kChunkFiles = 16;
constexpr std::uint64_t kChunkBytes = 4 * 1024 * 1024;
constexpr std::chrono::milliseconds kChunkAge{20};

FileRead NotLookedAt(std::string path, std::string reason) {
  FileRead read;
  read.Path = std::move(path);
  read.Counted = false;
  read.Complete = false;
  FileFinding problem;
  problem.Problem = std::move(reason);
  read.Findings.push_back(std::move(problem));
  return read;
}

}  // namespace

int DefaultReaderCount() {
  // Readers mostly wait for the disk: a few per core keep enough reads in flight for it.
  return std::max(2, 4 * static_cast<int>(std::thread::hardware_concurrency()));
}

struct HarvestEngine::Slot {
  FileRead Read;
  OpenedFile Opened;  // until a reader takes it
  bool NeedsReading = false;
  // A root that names a file, not a folder: its cursor file is read whatever the switch says.
  bool Named = false;
  // Set once Read holds the result; the consumer reads nothing of a slot before.
  std::atomic<bool> Ready = false;
};

struct HarvestEngine::Chunk {
  std::deque<Slot> Slots;  // in walk order
  std::size_t Taken = 0;   // results the consumer has taken
  std::uint64_t Bytes = 0;
  bool NeedsReading = false;
  Clock::time_point Started = Clock::now();
};

// The walk's files and its unreadable folders, gathered into chunks for the readers.
class HarvestEngine::Walker : public WalkVisitor {
 public:
  Walker(HarvestEngine& engine, const std::stop_token& stop) : engine_(engine), stop_(stop) {}
  bool Stopped() override { return stop_.stop_requested(); }
  void Pause() override {
    if (engine_.options_.BeforeEachName) engine_.options_.BeforeEachName();
    // A slow walk does not hold back the files it has already found.
    if (chunk_ && Clock::now() - chunk_->Started >= kChunkAge) Flush();
  }
  void File(const std::string& path, OpenedFile file) override {
    Slot& slot = Add(path);
    slot.NeedsReading = true;
    slot.Named = named_;
    chunk_->NeedsReading = true;
    if (file.Error == 0) chunk_->Bytes += file.Handle.Size;
    slot.Opened = std::move(file);
    FlushWhenFull();
  }
  void Unreadable(const std::string& path, const std::string& reason) override {
    Slot& slot = Add(path);
    slot.Read = NotLookedAt(path, reason);
    slot.Ready = true;
    FlushWhenFull();
  }
  // A file named as a root of its own.
  void NamedFile(const std::string& path, OpenedFile file) {
    named_ = true;
    File(path, std::move(file));
    named_ = false;
  }
  void Flush() {
    if (chunk_) engine_.Push(std::move(chunk_), stop_);
    chunk_.reset();
  }

 private:
  Slot& Add(const std::string& path) {
    if (!chunk_) chunk_ = std::make_shared<Chunk>();
    Slot& slot = chunk_->Slots.emplace_back();
    slot.Read.Path = path;
    return slot;
  }
  void FlushWhenFull() {
    if (chunk_->Slots.size() >= kChunkFiles || chunk_->Bytes >= kChunkBytes ||
        Clock::now() - chunk_->Started >= kChunkAge) {
      Flush();
    }
  }

  HarvestEngine& engine_;
  const std::stop_token& stop_;
  std::shared_ptr<Chunk> chunk_;
  bool named_ = false;
};

HarvestEngine::HarvestEngine(std::vector<HarvestRoot> roots, EngineOptions options)
    : options_(std::move(options)) {
  if (!options_.Reader) options_.Reader = ReadFile;
  const int readers = options_.Readers > 0 ? options_.Readers : DefaultReaderCount();
  maxReaders_ = static_cast<std::size_t>(readers);
  maxAhead_ = kAheadPerReader * maxReaders_;
  walker_ = std::jthread(
      [this, stop = stop_.get_token(), roots = std::move(roots)] { Walk(stop, roots); });
}

HarvestEngine::~HarvestEngine() {
  Stop();
  walker_.join();    // the walk starts readers: once it has ended, no more start
  readers_.clear();  // joins
}

void HarvestEngine::Stop() {
  const std::lock_guard lock(mutex_);
  stop_.request_stop();  // every wait watches it
  toReadChanged_.notify_all();
  frontChanged_.notify_all();
  roomChanged_.notify_all();
}

void HarvestEngine::Walk(const std::stop_token& stop, const std::vector<HarvestRoot>& roots) {
  Walker walker(*this, stop);
  for (const HarvestRoot& root : roots) {
    if (stop.stop_requested()) break;
    WalkRoot(stop, root, walker);
  }
  walker.Flush();
  const std::lock_guard lock(mutex_);
  walkEnded_ = true;
  toReadChanged_.notify_all();
  frontChanged_.notify_all();
}

void HarvestEngine::WalkRoot(const std::stop_token& stop, const HarvestRoot& root, Walker& walker) {
  if (root.Tree) {
    WalkTree(root.Path, walker);
    walker.Flush();
    return;
  }
  // Asking first keeps a FIFO or device named here from being opened at all.
  int error = 0;
  const FileKind kind = KindOf(AT_FDCWD, root.Path.string(), true, error);
  if (error != 0) {
    walker.Unreadable(root.Path.string(), SystemErrorText(error));
  } else if (kind == FileKind::Regular && !stop.stop_requested()) {
    walker.NamedFile(root.Path.string(), OpenForReading(root.Path));
  }
}

void HarvestEngine::Push(std::shared_ptr<Chunk> chunk, const std::stop_token& stop) {
  const std::size_t files = chunk->Slots.size();
  std::unique_lock lock(mutex_);
  roomChanged_.wait(lock, [&] {
    return stop.stop_requested() || filesAhead_ == 0 || filesAhead_ + files <= maxAhead_;
  });
  if (stop.stop_requested()) return;
  filesAhead_ += files;
  ordered_.push_back(chunk);
  if (chunk->NeedsReading) {
    toRead_.push_back(std::move(chunk));
    // Readers start as the work needs them: a run over one file (a script's or a file manager's)
    // starts none when the consumer reads, and small warm files keep few busy.
    if (idleReaders_ > 0) {
      toReadChanged_.notify_one();
    } else if (readers_.size() < maxReaders_ && !(options_.ReadOnCaller && consumerWaiting_)) {
      readers_.emplace_back([this, stop = stop_.get_token()] { ReadFiles(stop); });
    }
  }
  // A consumer that reads takes chunks too; one of unreadable names only is ready at once.
  if (consumerWaiting_) frontChanged_.notify_one();
}

void HarvestEngine::ReadFiles(std::stop_token stop) {
  for (;;) {
    std::shared_ptr<Chunk> chunk;
    {
      std::unique_lock lock(mutex_);
      ++idleReaders_;
      toReadChanged_.wait(lock,
                          [&] { return stop.stop_requested() || !toRead_.empty() || walkEnded_; });
      --idleReaders_;
      if (stop.stop_requested() || toRead_.empty()) return;
      chunk = std::move(toRead_.front());
      toRead_.pop_front();
    }
    ReadChunk(*chunk, stop);
  }
}

void HarvestEngine::ReadChunk(Chunk& chunk, const std::stop_token& stop) {
  for (Slot& slot : chunk.Slots) {
    if (stop.stop_requested()) return;
    if (!slot.NeedsReading) continue;
    slot.Read = ReadSlot(slot, stop);
    slot.Ready = true;
    // Both are sequentially consistent: either the consumer sees this result before it waits
    // for it, or this reader sees it waiting for it and wakes it.
    if (awaited_ == &slot) {
      const std::lock_guard lock(mutex_);
      frontChanged_.notify_one();
    }
  }
}

FileRead HarvestEngine::ReadSlot(Slot& slot, const std::stop_token& stop) {
  try {
    if (!slot.Named)
      return options_.Reader(slot.Read.Path, std::move(slot.Opened), options_.Read, stop);
    ReadOptions named = options_.Read;
    named.CursorFiles = true;
    return options_.Reader(slot.Read.Path, std::move(slot.Opened), named, stop);
  } catch (const std::exception& error) {
    FileRead read = NotLookedAt(slot.Read.Path, error.what());
    read.Counted = true;
    return read;
  } catch (...) {
    FileRead read = NotLookedAt(slot.Read.Path, "The file could not be read");
    read.Counted = true;
    return read;
  }
}

bool HarvestEngine::FrontReady() const {
  if (ordered_.empty()) return false;
  const Chunk& front = *ordered_.front();
  return front.Slots[front.Taken].Ready;
}

std::optional<FileRead> HarvestEngine::Next(std::chrono::milliseconds wait) {
  const Clock::time_point deadline = Clock::now() + wait;
  std::unique_lock lock(mutex_);
  const auto ended = [this] { return ordered_.empty() && walkEnded_; };
  const auto mayRead = [this] { return options_.ReadOnCaller && !toRead_.empty(); };
  while (!FrontReady()) {
    if (stop_.stop_requested() || ended()) return std::nullopt;
    if (mayRead()) {
      // A consumer that reads takes the first chunk no reader has taken rather than wait.
      const std::shared_ptr<Chunk> chunk = std::move(toRead_.front());
      toRead_.pop_front();
      lock.unlock();
      ReadChunk(*chunk, stop_.get_token());
      lock.lock();
      continue;
    }
    consumerWaiting_ = true;
    awaited_ = ordered_.empty() ? nullptr : &ordered_.front()->Slots[ordered_.front()->Taken];
    const bool woken = frontChanged_.wait_until(lock, deadline, [&] {
      return stop_.stop_requested() || FrontReady() || mayRead() || ended();
    });
    consumerWaiting_ = false;
    awaited_ = nullptr;
    if (!woken) return std::nullopt;
  }
  if (stop_.stop_requested()) return std::nullopt;
  Chunk& front = *ordered_.front();
  FileRead read = std::move(front.Slots[front.Taken].Read);
  --filesAhead_;
  if (++front.Taken == front.Slots.size()) {
    ordered_.pop_front();
    roomChanged_.notify_one();  // the walk may wait for room
  }
  return read;
}

bool HarvestEngine::Ended() {
  const std::lock_guard lock(mutex_);
  return stop_.stop_requested() || (walkEnded_ && ordered_.empty());
}

}  // namespace pictarix
