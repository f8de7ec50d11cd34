#pragma once
// libXcursor's file API, loaded when first needed: only the commands that write Xcursor files pay
// for loading it and the X libraries it pulls in, so the other programs start as before.
#include <cstdint>
#include <cstdio>

namespace pictarix {

// The library's own structures, as its header declares them.
struct XcursorImage {
  std::uint32_t version;
  std::uint32_t size;  // nominal size, for matching
  std::uint32_t width;
  std::uint32_t height;
  std::uint32_t xhot;  // must be inside the image
  std::uint32_t yhot;
  std::uint32_t delay;    // milliseconds to the next image of an animation
  std::uint32_t* pixels;  // premultiplied ARGB, top row first
};

struct XcursorImages {
  int nimage;
  XcursorImage** images;
  char* name;
};

// The functions used, resolved from the loaded library.
struct XcursorApi {
  XcursorImage* (*ImageCreate)(int width, int height);
  void (*ImageDestroy)(XcursorImage* image);
  XcursorImages* (*ImagesCreate)(int size);
  void (*ImagesDestroy)(XcursorImages* images);
  int (*FileSaveImages)(std::FILE* file, const XcursorImages* images);
};

// The loaded library (loaded once, on the first call, and kept). Raises PictarixError naming the
// library when it cannot be loaded or lacks a function.
const XcursorApi& LoadXcursorLibrary();

}  // namespace pictarix
