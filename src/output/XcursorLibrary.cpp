#include "output/XcursorLibrary.h"

#include <dlfcn.h>

#include <mutex>
#include <optional>
#include <string>

#include "os/Errors.h"

namespace pictarix {

namespace {

constexpr const char* kLibraryName = "libXcursor.so.1";

template <typename Function>
void Resolve(void* library, const char* symbol, Function& function) {
  void* address = dlsym(library, symbol);
  if (address == nullptr) {
    throw PictarixError(std::string("Cannot use ") + kLibraryName + ": it has no " + symbol + ".");
  }
  function = reinterpret_cast<Function>(address);
}

XcursorApi Load() {
  // Kept loaded for the life of the process: the pointers resolved from it stay valid.
  void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* reason = dlerror();
    throw PictarixError(std::string("Cannot load ") + kLibraryName +
                        ", which writing Xcursor files needs (Debian: libxcursor1). " +
                        (reason != nullptr ? reason : ""));
  }
  XcursorApi api{};
  Resolve(library, "XcursorImageCreate", api.ImageCreate);
  Resolve(library, "XcursorImageDestroy", api.ImageDestroy);
  Resolve(library, "XcursorImagesCreate", api.ImagesCreate);
  Resolve(library, "XcursorImagesDestroy", api.ImagesDestroy);
  Resolve(library, "XcursorFileSaveImages", api.FileSaveImages);
  return api;
}

}  // namespace

const XcursorApi& LoadXcursorLibrary() {
  static std::mutex mutex;
  static std::optional<XcursorApi> api;
  const std::lock_guard lock(mutex);
  // A failed load is tried again on the next call, and raises the same error.
  if (!api) api = Load();
  return *api;
}

}  // namespace pictarix
