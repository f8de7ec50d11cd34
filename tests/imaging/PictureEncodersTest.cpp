#include <gtest/gtest.h>

#include <functional>

#include "formats/dib/BmpEncoder.h"
#include "formats/png/PngEncoder.h"
#include "imaging/GifEncoder.h"
#include "imaging/JpegEncoder.h"
#include "os/PictureError.h"
#include "output/TestPictures.h"

namespace pictarix {
namespace {

using Encoder = std::function<std::vector<std::uint8_t>(const RgbImage&)>;

struct PictureEncoder {
  const char* Name;
  Encoder Encode;
  std::vector<std::uint8_t> Signature;
};

const std::vector<PictureEncoder>& Encoders() {
  static const std::vector<PictureEncoder> encoders{{"gif", EncodeGif, {'G', 'I', 'F', '8'}},
                                                    {"bmp", EncodeBmp, {'B', 'M'}},
                                                    {"jpg", EncodeJpeg, {0xFF, 0xD8, 0xFF}},
                                                    {"png", EncodePng, {0x89, 'P', 'N', 'G'}}};
  return encoders;
}

TEST(PictureEncodersTest, EveryFormatWritesItsSignatureAndRefusesBrokenPictures) {
  RgbImage broken(4, 4);
  broken.Rgb.pop_back();  // one byte short of 4x4 pixels
  for (const PictureEncoder& encoder : Encoders()) {
    const auto written = encoder.Encode(testing::Gradient(32, 32));
    ASSERT_GE(written.size(), encoder.Signature.size()) << encoder.Name;
    EXPECT_TRUE(std::equal(encoder.Signature.begin(), encoder.Signature.end(), written.begin()))
        << encoder.Name;
    EXPECT_THROW(encoder.Encode(broken), PictureError) << encoder.Name;
    EXPECT_THROW(encoder.Encode(RgbImage()), PictureError) << encoder.Name;
    EXPECT_THROW(encoder.Encode(RgbImage(kMaxPictureSide + 1, 0)), PictureError) << encoder.Name;
  }
}

}  // namespace
}  // namespace pictarix
