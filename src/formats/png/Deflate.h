#pragma once
// Deflate streams through libdeflate, whose state is made once a thread and used again: PNG
// pictures are many and small, so setting up a stream each time would cost more than the data.
#include <libdeflate.h>

namespace pictarix {

// This thread's decompressor, or nullptr when there is not enough memory for one.
libdeflate_decompressor* ThreadDecompressor();
// This thread's compressor (fastest level), or nullptr when there is not enough memory for one.
libdeflate_compressor* ThreadCompressor();

}  // namespace pictarix
