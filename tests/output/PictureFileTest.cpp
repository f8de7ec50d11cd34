#include "output/PictureFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "output/PictureError.h"
#include "output/TestPictures.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PictureFileTest, EveryPictureFormatWritesItsEncoding) {
  testing::TempDir dir;
  const RgbImage tile = testing::Gradient(32, 32);
  const std::vector<std::uint8_t> signatures[] = {
      {}, {'G', 'I', 'F', '8'}, {'B', 'M'}, {0xFF, 0xD8, 0xFF}, {0x89, 'P', 'N', 'G'}};
  for (int format = sfGif; format <= sfPng; ++format) {
    const auto path = dir.Path() / ("tile" + ExtFromFormat(format));
    SavePictureToFile(format, tile, path);
    const std::vector<std::uint8_t> written = ReadAll(path);
    EXPECT_EQ(written, EncodePicture(format, tile)) << format;
    const auto& signature = signatures[format];
    ASSERT_GE(written.size(), signature.size());
    EXPECT_TRUE(std::equal(signature.begin(), signature.end(), written.begin())) << format;
  }
}

TEST(PictureFileTest, AFailedConversionWritesNothing) {
  testing::TempDir dir;
  const auto existing = dir.Path() / "keep.gif";
  { std::ofstream(existing, std::ios::binary) << "old"; }
  RgbImage broken(4, 4);
  broken.Rgb.pop_back();  // one byte short of 4x4 pixels
  for (int format = sfGif; format <= sfPng; ++format) {
    EXPECT_THROW(SavePictureToFile(format, broken, existing), EPictureError) << format;
    EXPECT_THROW(SavePictureToFile(format, RgbImage(), dir.Path() / "empty.png"), EPictureError);
    EXPECT_THROW(EncodePicture(format, RgbImage(kMaxPictureSide + 1, 0)), EPictureError);
  }
  EXPECT_THROW(EncodePicture(sfIcon, testing::Gradient(32, 32)), EPictureError);
  EXPECT_THROW(EncodePicture(7, testing::Gradient(32, 32)), EPictureError);
  EXPECT_EQ(ReadAll(existing), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "empty.png"));
}

}  // namespace
}  // namespace pictarix
