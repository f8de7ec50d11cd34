#pragma once
// What the C interface's opaque handles hold: a harvest taken entry by entry, and one entry.
#include <atomic>
#include <chrono>
#include <deque>
#include <filesystem>
#include <string>

#include "capi/LibraryHost.h"
#include "harvest/Harvester.h"
#include "harvest/ListEntry.h"

struct pictarix_entry {
  pictarix::ListEntry Entry;
  std::string FileText;  // Entry.File as the C string handed out
  std::string Message;
};

struct pictarix_harvest {
  // Nothing is read until the first Next.
  pictarix_harvest(std::filesystem::path path, bool all, bool cursors);

  enum class Step { Entry, End, Stopped, Failed };
  // Reads on until an entry is ready (kept in Ready) or the harvest ends: the named file on
  // this thread, a tree as pictarix-cli walks it. Entries are made as the harvest makes them
  // and handed out in its order; at most one file's entries wait here.
  Step Next();

  std::filesystem::path Path;
  bool Tree = false;
  std::atomic<bool> StopAsked = false;
  std::string Message;
  pictarix::capi::LibraryHost Host;
  pictarix::Harvester Harvest;
  std::deque<pictarix::ListEntry> Ready;

 private:
  bool started_ = false;
  bool ended_ = false;
};
