#include "imaging/JpegEncoder.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <memory>
#include <string>

#include "os/PictureError.h"

namespace pictarix {

namespace {

struct JpegErrorManager {
  jpeg_error_mgr pub;  // first, so that the library's pointer leads back to the whole manager
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void JumpOnError(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrorManager*>(info->err);
  (*info->err->format_message)(info, errors->message);
  std::longjmp(errors->jump, 1);
}

// Warnings and traces would go to stderr; the program prints nothing.
void DiscardMessage(j_common_ptr) {}

// Everything the compression touches lives outside the frame that calls setjmp: the jump back
// crosses only library frames, and nothing in them needs destroying.
struct JpegJob {
  jpeg_compress_struct info{};
  JpegErrorManager errors{};
  unsigned char* buffer = nullptr;  // malloc'd by jpeg_mem_dest
  unsigned long size = 0;
  bool destinationSet = false;
  std::vector<JSAMPLE> row;
};

bool Compress(JpegJob& job, const RgbImage& image) {
  if (setjmp(job.errors.jump) != 0) return false;
  jpeg_create_compress(&job.info);
  jpeg_mem_dest(&job.info, &job.buffer, &job.size);
  job.destinationSet = true;

  job.info.image_width = static_cast<JDIMENSION>(image.Width);
  job.info.image_height = static_cast<JDIMENSION>(image.Height);
  job.info.input_components = 3;
  job.info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&job.info);  // YCbCr, baseline Huffman coding, not progressive
  jpeg_set_quality(&job.info, kJpegQuality, TRUE);
  jpeg_start_compress(&job.info, TRUE);
  while (job.info.next_scanline < job.info.image_height) {
    const auto* first =
        image.Rgb.data() + image.PixelOffset(0, static_cast<int>(job.info.next_scanline));
    std::copy(first, first + job.row.size(), job.row.begin());
    JSAMPROW rows[1] = {job.row.data()};
    jpeg_write_scanlines(&job.info, rows, 1);
  }
  jpeg_finish_compress(&job.info);
  return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeJpeg(const RgbImage& image) {
  if (!IsEncodable(image)) throw PictureError("Cannot write a JPEG picture of this size");
  auto job = std::make_unique<JpegJob>();
  job->row.resize(static_cast<std::size_t>(image.Width) * 3);
  job->info.err = jpeg_std_error(&job->errors.pub);
  job->errors.pub.error_exit = JumpOnError;
  job->errors.pub.output_message = DiscardMessage;

  const bool compressed = Compress(*job, image);
  // After a failure the memory destination may have moved its buffer without telling us yet;
  // finishing the destination hands back the live one so that it can be freed.
  if (!compressed && job->destinationSet) job->info.dest->term_destination(&job->info);
  jpeg_destroy_compress(&job->info);
  const std::unique_ptr<unsigned char, decltype(&std::free)> buffer(job->buffer, &std::free);
  if (!compressed) {
    throw PictureError(std::string("Cannot write a JPEG picture: ") + job->errors.message);
  }
  return std::vector<std::uint8_t>(buffer.get(), buffer.get() + job->size);
}

}  // namespace pictarix
