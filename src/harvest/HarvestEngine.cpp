#include "harvest/HarvestEngine.h"

#include <fcntl.h>

#include <algorithm>

#include "harvest/TreeWalk.h"
#include "os/Errors.h"

namespace pictarix {

namespace {

// Files read ahead of the consumer per reader: enough to keep every reader busy while the
// consumer catches up, few enough that memory stays flat.
constexpr std::size_t kAheadPerReader = 8;
// Files are handed over in batches: a waiter is woken once this many wait for it, and otherwise
// looks again after kLookAgain. Waking a thread per file would cost more than reading a small one.
constexpr std::size_t kBatch = 16;
constexpr std::chrono::milliseconds kLookAgain{2};

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
  bool Ready = false;
};

// The walk's files go to the readers, its unreadable folders straight to the results.
class HarvestEngine::Walker : public WalkVisitor {
 public:
  Walker(HarvestEngine& engine, const std::stop_token& stop) : engine_(engine), stop_(stop) {}
  bool Stopped() override { return stop_.stop_requested(); }
  void Pause() override {
    if (engine_.options_.BeforeEachName) engine_.options_.BeforeEachName();
  }
  void File(const std::string& path, OpenedFile file) override {
    auto slot = std::make_shared<Slot>();
    slot->Read.Path = path;
    slot->Opened = std::move(file);
    engine_.Push(std::move(slot), true, stop_);
  }
  void Unreadable(const std::string& path, const std::string& reason) override {
    auto slot = std::make_shared<Slot>();
    slot->Read = NotLookedAt(path, reason);
    engine_.Push(std::move(slot), false, stop_);
  }

 private:
  HarvestEngine& engine_;
  const std::stop_token& stop_;
};

HarvestEngine::HarvestEngine(std::vector<HarvestRoot> roots, EngineOptions options)
    : options_(std::move(options)) {
  if (!options_.Reader) options_.Reader = ReadFile;
  const int readers = options_.Readers > 0 ? options_.Readers : DefaultReaderCount();
  maxAhead_ = kAheadPerReader * static_cast<std::size_t>(readers);
  const std::stop_token stop = stop_.get_token();
  threads_.emplace_back([this, stop, roots = std::move(roots)] { Walk(stop, roots); });
  for (int i = 0; i < readers; ++i) threads_.emplace_back([this, stop] { ReadFiles(stop); });
}

HarvestEngine::~HarvestEngine() {
  Stop();
  threads_.clear();  // joins
}

void HarvestEngine::Stop() {
  const std::lock_guard lock(mutex_);
  stop_.request_stop();  // every wait watches it
  toReadChanged_.notify_all();
  frontChanged_.notify_all();
  roomChanged_.notify_all();
}

void HarvestEngine::Walk(const std::stop_token& stop, const std::vector<HarvestRoot>& roots) {
  for (const HarvestRoot& root : roots) {
    if (stop.stop_requested()) break;
    WalkRoot(stop, root);
  }
  const std::lock_guard lock(mutex_);
  walkEnded_ = true;
  toReadChanged_.notify_all();
  frontChanged_.notify_all();
}

void HarvestEngine::WalkRoot(const std::stop_token& stop, const HarvestRoot& root) {
  if (root.Tree) {
    Walker walker(*this, stop);
    WalkTree(root.Path, walker);
    return;
  }
  // Asking first keeps a FIFO or device named here from being opened at all.
  int error = 0;
  const FileKind kind = KindOf(AT_FDCWD, root.Path.string(), true, error);
  auto slot = std::make_shared<Slot>();
  if (error != 0) {
    slot->Read = NotLookedAt(root.Path.string(), SystemErrorText(error));
    Push(std::move(slot), false, stop);
  } else if (kind == FileKind::Regular) {
    slot->Read.Path = root.Path.string();
    slot->Opened = OpenForReading(root.Path);
    Push(std::move(slot), true, stop);
  }
}

void HarvestEngine::Push(std::shared_ptr<Slot> slot, bool needsReading,
                         const std::stop_token& stop) {
  std::unique_lock lock(mutex_);
  roomChanged_.wait(lock, [&] { return stop.stop_requested() || ordered_.size() < maxAhead_; });
  if (stop.stop_requested()) return;
  ordered_.push_back(slot);
  if (needsReading) {
    toRead_.push_back(std::move(slot));
    if (toRead_.size() == kBatch) toReadChanged_.notify_all();
  } else {
    slot->Ready = true;
  }
  if (ordered_.size() == kBatch) frontChanged_.notify_one();
}

void HarvestEngine::ReadFiles(std::stop_token stop) {
  for (;;) {
    std::shared_ptr<Slot> slot;
    {
      std::unique_lock lock(mutex_);
      toReadChanged_.wait_for(lock, kLookAgain, [&] {
        return stop.stop_requested() || !toRead_.empty() || walkEnded_;
      });
      if (stop.stop_requested() || (toRead_.empty() && walkEnded_)) return;
      if (toRead_.empty()) continue;
      slot = std::move(toRead_.front());
      toRead_.pop_front();
    }
    FileRead read = ReadSlot(*slot, stop);
    const std::lock_guard lock(mutex_);
    slot->Read = std::move(read);
    slot->Ready = true;
    if (!ordered_.empty() && ordered_.front() == slot) frontChanged_.notify_one();
  }
}

FileRead HarvestEngine::ReadSlot(Slot& slot, const std::stop_token& stop) {
  try {
    return options_.Reader(slot.Read.Path, std::move(slot.Opened), options_.Read, stop);
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

std::optional<FileRead> HarvestEngine::Next(std::chrono::milliseconds wait) {
  std::unique_lock lock(mutex_);
  // The first file, when no reader has taken it yet, is read here by a consumer that reads.
  const auto readable = [this] {
    return options_.ReadOnCaller && !ordered_.empty() && !toRead_.empty() &&
           toRead_.front() == ordered_.front();
  };
  frontChanged_.wait_for(lock, wait, [&] {
    if (stop_.stop_requested() || readable()) return true;
    return ordered_.empty() ? walkEnded_ : ordered_.front()->Ready;
  });
  if (!stop_.stop_requested() && readable()) {
    const std::shared_ptr<Slot> slot = std::move(toRead_.front());
    toRead_.pop_front();
    lock.unlock();
    FileRead read = ReadSlot(*slot, stop_.get_token());
    lock.lock();
    if (stop_.stop_requested()) return std::nullopt;
    slot->Read = std::move(read);
    slot->Ready = true;
  }
  if (stop_.stop_requested() || ordered_.empty() || !ordered_.front()->Ready) return std::nullopt;
  const std::shared_ptr<Slot> slot = std::move(ordered_.front());
  ordered_.pop_front();
  if (ordered_.size() + 1 == maxAhead_) roomChanged_.notify_one();  // the walk may wait for it
  return std::move(slot->Read);
}

bool HarvestEngine::Ended() {
  const std::lock_guard lock(mutex_);
  return stop_.stop_requested() || (walkEnded_ && ordered_.empty());
}

}  // namespace pictarix
