#pragma once
// The harvest's engine: one thread walks (a folder tree, or names one file) and hands the files
// it opens, in chunks, to readers on threads of their own, which read several files at once so
// that a cold disk keeps several reads in flight. The results come out of Next in walk order,
// whatever the order the readers finish in. Files read ahead are bounded, so memory stays flat
// however large the tree. Nothing here calls anyone: the consumer takes results when it wants them.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "harvest/FileRead.h"

namespace pictarix {

struct EngineOptions {
  ReadOptions Read;
  // Reader threads; 0: DefaultReaderCount().
  int Readers = 0;
  // Reads a file (ReadFile unless set): a test stands a slow or failing reader in here.
  std::function<FileRead(const std::string& path, OpenedFile opened, const ReadOptions& options,
                         std::stop_token stop)>
      Reader;
  // Whether the consumer reads the next file in walk order itself when no reader has taken it
  // (only a consumer that may wait for a read, never a window).
  bool ReadOnCaller = false;
  // Called on the walking thread before each name of a tree is looked at (a test changes the
  // tree here between its listing and the opening of its files).
  std::function<void()> BeforeEachName;
};

// A name the run starts from: a folder walked as a tree, or one file named (read as a cursor file
// when it is one, whatever ReadOptions::Cursors says).
struct HarvestRoot {
  std::filesystem::path Path;
  bool Tree = false;
};

// The readers a run uses when none are asked for: four per core (at least 2).
int DefaultReaderCount();

class HarvestEngine {
 public:
  // Starts harvesting the roots in order: a tree is walked; a file that is no regular file after
  // following a link is skipped, one that cannot be looked at gives a result not counted.
  HarvestEngine(std::vector<HarvestRoot> roots, EngineOptions options);
  // Stops the run and waits for its threads.
  ~HarvestEngine();
  HarvestEngine(const HarvestEngine&) = delete;
  HarvestEngine& operator=(const HarvestEngine&) = delete;

  // The next result in walk order, waiting for it at most `wait`; nothing when none is ready
  // yet or the run has ended (Ended tells which).
  std::optional<FileRead> Next(std::chrono::milliseconds wait);
  // Whether every result has been taken.
  bool Ended();
  // Ends the run: the walk and the readers stop at their next check, results not taken are
  // dropped. Returns at once.
  void Stop();

 private:
  struct Slot;
  struct Chunk;
  class Walker;

  void Walk(const std::stop_token& stop, const std::vector<HarvestRoot>& roots);
  void WalkRoot(const std::stop_token& stop, const HarvestRoot& root, Walker& walker);
  void ReadFiles(std::stop_token stop);
  // Reads every file of a chunk in order, making each result ready as soon as it is read.
  void ReadChunk(Chunk& chunk, const std::stop_token& stop);
  FileRead ReadSlot(Slot& slot, const std::stop_token& stop);
  // Queues a chunk of files for the readers; waits while too many files are ahead.
  void Push(std::shared_ptr<Chunk> chunk, const std::stop_token& stop);
  // With the lock held: whether the first result in walk order is ready.
  bool FrontReady() const;

  EngineOptions options_;
  std::size_t maxAhead_;
  std::mutex mutex_;
  // One per kind of waiter, so that a change wakes only those it concerns.
  std::condition_variable toReadChanged_;       // readers: a chunk to read, or the walk's end
  std::condition_variable frontChanged_;        // the consumer: the first result ready, or the end
  std::condition_variable roomChanged_;         // the walk: room for another chunk ahead
  std::deque<std::shared_ptr<Chunk>> ordered_;  // every result, in walk order
  std::deque<std::shared_ptr<Chunk>> toRead_;   // the chunks no reader has taken yet
  std::size_t filesAhead_ = 0;                  // results in ordered_ not yet taken
  // Set by a waiting consumer: the walk wakes it for a new chunk, and the reader of the result it
  // waits for (awaited_) for that result; no one else takes the lock to wake it.
  std::atomic<bool> consumerWaiting_ = false;
  std::atomic<const Slot*> awaited_ = nullptr;
  bool walkEnded_ = false;
  std::size_t maxReaders_;
  std::size_t idleReaders_ = 0;  // readers waiting for a chunk
  std::stop_source stop_;
  std::vector<std::jthread> readers_;  // started by the walk, as needed
  std::jthread walker_;
};

}  // namespace pictarix
