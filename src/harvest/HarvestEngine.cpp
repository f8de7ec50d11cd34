#include "harvest/HarvestEngine.h"

#include <fcntl.h>

#include <algorithm>

#include "harvest/TreeWalk.h"
#include "platform/Errors.h"

namespace pictarix {

namespace {

// Files read ahead of the consumer per reader: enough to keep every reader busy while the
// consumer catches up, few enough that memory stays flat.
constexpr std::size_t kAheadPerReader = 8;

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
  return std::max(2, static_cast<int>(std::thread::hardware_concurrency()));
}

struct HarvestEngine::Slot {
  FileRead Read;
  OpenedFile Opened;  // until a reader takes it
  bool Ready = false;
};

// The walk's files go to the readers, its unreadable folders straight to the results.
class HarvestEngine::Walker : public TWalkVisitor {
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
  stop_.request_stop();  // wakes every wait, which all watch the token
}

void HarvestEngine::Walk(const std::stop_token& stop, const std::vector<HarvestRoot>& roots) {
  for (const HarvestRoot& root : roots) {
    if (stop.stop_requested()) break;
    WalkRoot(stop, root);
  }
  const std::lock_guard lock(mutex_);
  walkEnded_ = true;
  changed_.notify_all();
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
  if (!changed_.wait(lock, stop, [this] { return ordered_.size() < maxAhead_; })) return;
  ordered_.push_back(slot);
  if (needsReading) {
    toRead_.push_back(std::move(slot));
  } else {
    slot->Ready = true;
  }
  changed_.notify_all();
}

void HarvestEngine::ReadFiles(std::stop_token stop) {
  for (;;) {
    std::shared_ptr<Slot> slot;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, stop, [this] { return !toRead_.empty() || walkEnded_; });
      if (stop.stop_requested() || toRead_.empty()) return;
      slot = std::move(toRead_.front());
      toRead_.pop_front();
    }
    FileRead read;
    try {
      read = options_.Reader(slot->Read.Path, std::move(slot->Opened), options_.Read, stop);
    } catch (const std::exception& error) {
      read = NotLookedAt(slot->Read.Path, error.what());
      read.Counted = true;
    } catch (...) {
      read = NotLookedAt(slot->Read.Path, "The file could not be read");
      read.Counted = true;
    }
    const std::lock_guard lock(mutex_);
    slot->Read = std::move(read);
    slot->Ready = true;
    changed_.notify_all();
  }
}

std::optional<FileRead> HarvestEngine::Next(std::chrono::milliseconds wait) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, stop_.get_token(), wait,
                    [this] { return ordered_.empty() ? walkEnded_ : ordered_.front()->Ready; });
  if (stop_.stop_requested() || ordered_.empty() || !ordered_.front()->Ready) return std::nullopt;
  const std::shared_ptr<Slot> slot = std::move(ordered_.front());
  ordered_.pop_front();
  changed_.notify_all();  // the walk may wait for room
  return std::move(slot->Read);
}

bool HarvestEngine::Ended() {
  const std::lock_guard lock(mutex_);
  return stop_.stop_requested() || (walkEnded_ && ordered_.empty());
}

}  // namespace pictarix
