#include "output/PictureDecoders.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace pictarix::testing {

namespace {

std::uint32_t BigEndian32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
         (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
}

}  // namespace

std::optional<DecodedPng> DecodePng(const std::vector<std::uint8_t>& bytes) {
  static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0) return std::nullopt;
  DecodedPng result;
  for (std::size_t at = 8; at + 12 <= bytes.size();) {
    const std::uint32_t length = BigEndian32(bytes, at);
    if (length > bytes.size() - at - 12) return std::nullopt;
    const std::string type(bytes.begin() + static_cast<std::ptrdiff_t>(at + 4),
                           bytes.begin() + static_cast<std::ptrdiff_t>(at + 8));
    if (type == "IHDR" && length >= 13) {
      result.BitDepth = bytes[at + 16];
      result.ColorType = bytes[at + 17];
    }
    result.Chunks.push_back(type);
    at += 12 + length;
  }

  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) return std::nullopt;
  png.format = PNG_FORMAT_RGB;
  result.Image = RgbImage(static_cast<int>(png.width), static_cast<int>(png.height));
  if (!png_image_finish_read(&png, nullptr, result.Image.Rgb.data(), 0, nullptr)) {
    png_image_free(&png);
    return std::nullopt;
  }
  return result;
}

namespace {

struct JpegReadErrors {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void JumpBack(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegReadErrors*>(info->err)->jump, 1);
}
void Quiet(j_common_ptr) {}

struct JpegReadJob {
  jpeg_decompress_struct info{};
  JpegReadErrors errors{};
  DecodedJpeg result;
};

bool Decompress(JpegReadJob& job, const std::vector<std::uint8_t>& bytes) {
  if (setjmp(job.errors.jump) != 0) return false;
  jpeg_create_decompress(&job.info);
  jpeg_mem_src(&job.info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&job.info, TRUE);
  job.result.Components = job.info.num_components;
  job.result.YCbCr = job.info.jpeg_color_space == JCS_YCbCr;
  job.result.Progressive = job.info.progressive_mode != 0;
  job.result.AllQuantValuesOne = true;
  for (const JQUANT_TBL* table : job.info.quant_tbl_ptrs) {
    if (table == nullptr) continue;
    for (const UINT16 value : table->quantval) job.result.AllQuantValuesOne &= value == 1;
  }
  job.info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&job.info);
  job.result.Image.Width = static_cast<int>(job.info.output_width);
  job.result.Image.Height = static_cast<int>(job.info.output_height);
  job.result.Image.Rgb.resize(std::size_t{job.info.output_width} * job.info.output_height * 3);
  while (job.info.output_scanline < job.info.output_height) {
    JSAMPROW row = job.result.Image.Rgb.data() +
                   std::size_t{job.info.output_scanline} * job.info.output_width * 3;
    jpeg_read_scanlines(&job.info, &row, 1);
  }
  jpeg_finish_decompress(&job.info);
  return true;
}

// The start-of-frame marker (0xC0 baseline, 0xC1 extended, 0xC2 progressive), or 0.
int FrameMarker(const std::vector<std::uint8_t>& bytes) {
  std::size_t at = 2;  // after SOI
  while (at + 4 <= bytes.size() && bytes[at] == 0xFF) {
    const int marker = bytes[at + 1];
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      return marker;
    }
    at += 2 + ((std::size_t{bytes[at + 2]} << 8) | bytes[at + 3]);
  }
  return 0;
}

}  // namespace

std::optional<DecodedJpeg> DecodeJpeg(const std::vector<std::uint8_t>& bytes) {
  auto job = std::make_unique<JpegReadJob>();
  job->info.err = jpeg_std_error(&job->errors.pub);
  job->errors.pub.error_exit = JumpBack;
  job->errors.pub.output_message = Quiet;
  const bool ok = Decompress(*job, bytes);
  jpeg_destroy_decompress(&job->info);
  if (!ok) return std::nullopt;
  job->result.FrameMarker = FrameMarker(bytes);
  return std::move(job->result);
}

namespace {

struct GifSource {
  const std::vector<std::uint8_t>* Bytes;
  std::size_t At = 0;
};

int ReadFromSource(GifFileType* gif, GifByteType* out, int length) {
  auto* source = static_cast<GifSource*>(gif->UserData);
  const std::size_t left = source->Bytes->size() - source->At;
  const std::size_t count = std::min(left, static_cast<std::size_t>(std::max(length, 0)));
  std::memcpy(out, source->Bytes->data() + source->At, count);
  source->At += count;
  return static_cast<int>(count);
}

struct CloseGifReader {
  void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};

}  // namespace

std::optional<DecodedGif> DecodeGif(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < 6) return std::nullopt;
  GifSource source{&bytes};
  int error = 0;
  std::unique_ptr<GifFileType, CloseGifReader> gif(DGifOpen(&source, ReadFromSource, &error));
  if (!gif || DGifSlurp(gif.get()) == GIF_ERROR) return std::nullopt;
  DecodedGif result;
  result.Version.assign(bytes.begin(), bytes.begin() + 6);
  result.ImageCount = gif->ImageCount;
  result.ExtensionBlocks = gif->ExtensionBlockCount;
  if (gif->SColorMap != nullptr) {
    result.ColorTableSize = gif->SColorMap->ColorCount;
    for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
      const GifColorType& c = gif->SColorMap->Colors[i];
      result.Palette.push_back({c.Red, c.Green, c.Blue});
    }
  }
  if (gif->ImageCount < 1) return result;
  const SavedImage& frame = gif->SavedImages[0];
  result.ExtensionBlocks += frame.ExtensionBlockCount;
  result.LocalColorTable = frame.ImageDesc.ColorMap != nullptr;
  const int width = frame.ImageDesc.Width;
  const int height = frame.ImageDesc.Height;
  result.Image = RgbImage(width, height);
  for (int i = 0; i < width * height; ++i) {
    const int index = frame.RasterBits[i];
    if (index >= static_cast<int>(result.Palette.size())) return std::nullopt;
    const RgbColor color = result.Palette[static_cast<std::size_t>(index)];
    result.Image.Rgb[static_cast<std::size_t>(i) * 3] = color.R;
    result.Image.Rgb[static_cast<std::size_t>(i) * 3 + 1] = color.G;
    result.Image.Rgb[static_cast<std::size_t>(i) * 3 + 2] = color.B;
  }
  return result;
}

double MeanAbsoluteError(const RgbImage& a, const RgbImage& b) {
  if (a.Rgb.size() != b.Rgb.size() || a.Rgb.empty()) return 1e9;
  double sum = 0;
  for (std::size_t i = 0; i < a.Rgb.size(); ++i) sum += std::abs(int{a.Rgb[i]} - int{b.Rgb[i]});
  return sum / static_cast<double>(a.Rgb.size());
}

int MaxAbsoluteError(const RgbImage& a, const RgbImage& b) {
  if (a.Rgb.size() != b.Rgb.size()) return 1 << 20;
  int worst = 0;
  for (std::size_t i = 0; i < a.Rgb.size(); ++i) {
    worst = std::max(worst, std::abs(int{a.Rgb[i]} - int{b.Rgb[i]}));
  }
  return worst;
}

}  // namespace pictarix::testing
