#include "formats/png/Deflate.h"

#include <memory>

namespace pictarix {

namespace {

// Icon images are small: a better ratio would save a few bytes and cost far more time.
constexpr int kCompressionLevel = 1;

struct FreeDecompressor {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
struct FreeCompressor {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

}  // namespace

libdeflate_decompressor* ThreadDecompressor() {
  thread_local std::unique_ptr<libdeflate_decompressor, FreeDecompressor> decompressor;
  if (!decompressor) decompressor.reset(libdeflate_alloc_decompressor());
  return decompressor.get();
}

libdeflate_compressor* ThreadCompressor() {
  thread_local std::unique_ptr<libdeflate_compressor, FreeCompressor> compressor;
  if (!compressor) compressor.reset(libdeflate_alloc_compressor(kCompressionLevel));
  return compressor.get();
}

}  // namespace pictarix
