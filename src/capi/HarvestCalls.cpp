// The harvest's calls of the C interface.
#include <cstdlib>
#include <memory>
#include <system_error>

#include "capi/Boundary.h"
#include "capi/Handles.h"
#include "pictarix.h"

using pictarix::capi::Guarded;

extern "C" {

const char* pictarix_version(void) {
  return PICTARIX_LIBRARY_VERSION;
}

int pictarix_open(const char* path, unsigned options, pictarix_harvest** harvest) {
  if (!harvest) return PICTARIX_INVALID;
  *harvest = nullptr;
  if (!path) return PICTARIX_INVALID;
  return Guarded(nullptr, [&] {
    auto made = std::make_unique<pictarix_harvest>(std::filesystem::path(path),
                                                   (options & PICTARIX_ALL) != 0,
                                                   (options & PICTARIX_CURSORS) != 0);
    int status = PICTARIX_OK;
    std::error_code error;
    if (!std::filesystem::exists(made->Path, error)) {
      made->Message = std::string(path) + ": No such file or directory";
      status = PICTARIX_ERROR;
    }
    *harvest = made.release();
    return status;
  });
}

int pictarix_next(pictarix_harvest* harvest, pictarix_entry** entry) {
  if (!harvest || !entry) return PICTARIX_INVALID;
  *entry = nullptr;
  harvest->Message.clear();
  return Guarded(&harvest->Message, [&] {
    switch (harvest->Next()) {
      case pictarix_harvest::Step::End:
        return PICTARIX_END;
      case pictarix_harvest::Step::Stopped:
        return PICTARIX_STOPPED;
      case pictarix_harvest::Step::Failed:
        harvest->Message = harvest->Host.ArgumentFailure();
        return PICTARIX_ERROR;
      case pictarix_harvest::Step::Entry:
        break;
    }
    auto made = std::make_unique<pictarix_entry>();
    made->Entry = std::move(harvest->Ready.front());
    harvest->Ready.pop_front();
    made->FileText = made->Entry.File.string();
    *entry = made.release();
    return PICTARIX_OK;
  });
}

int pictarix_stop(pictarix_harvest* harvest) {
  if (!harvest) return PICTARIX_INVALID;
  harvest->StopAsked = true;
  return PICTARIX_OK;
}

int pictarix_counts(const pictarix_harvest* harvest, int* files, int* unreadable) {
  if (!harvest) return PICTARIX_INVALID;
  if (files) *files = harvest->Harvest.FileCount;
  if (unreadable) *unreadable = harvest->Host.UnreadableCount();
  return PICTARIX_OK;
}

const char* pictarix_harvest_message(const pictarix_harvest* harvest) {
  return harvest ? harvest->Message.c_str() : "no harvest";
}

void pictarix_close(pictarix_harvest* harvest) {
  // The harvester stops its run without waiting for a reader inside a slow read.
  delete harvest;
}

void pictarix_free(void* buffer) {
  std::free(buffer);
}

}  // extern "C"
