#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "os/ByteCursor.h"
#include "os/Errors.h"
#include "os/SafeFile.h"
#include "os/Stream.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

TEST(ByteCursorTest, ReadsLittleEndianAndRefusesPastTheEnd) {
  const std::vector<std::uint8_t> bytes{0x4D, 0x5A, 0x01, 0x02, 0x03};
  ByteCursor cursor(bytes);
  std::uint16_t word = 0;
  ASSERT_TRUE(cursor.ReadU16(word));
  EXPECT_EQ(word, 0x5A4D);
  std::uint32_t dword = 7;
  EXPECT_FALSE(cursor.ReadU32(dword));
  EXPECT_EQ(dword, 0u);
  EXPECT_EQ(cursor.Position(), 2u);  // a failed read does not move
  EXPECT_EQ(cursor.U16At(3).value_or(0), 0x0302);
  EXPECT_FALSE(cursor.U16At(4).has_value());
  EXPECT_FALSE(cursor.U32At(0xFFFFFFFFFFFFFFFFull).has_value());
}

TEST(ByteCursorTest, SubRangesMustBeWhollyHeld) {
  const std::vector<std::uint8_t> bytes(10, 0xAA);
  ByteCursor cursor(bytes);
  EXPECT_TRUE(cursor.Sub(2, 8).has_value());
  EXPECT_FALSE(cursor.Sub(2, 9).has_value());
  EXPECT_FALSE(cursor.Sub(0xFFFFFFFFFFFFFFF0ull, 0x20).has_value());  // no wrap-around
  EXPECT_FALSE(cursor.Take(11).has_value());
  EXPECT_FALSE(cursor.Skip(11));
}

TEST(StreamTest, MemoryStreamShortReadsAndBytesAt) {
  MemoryStream stream(std::vector<std::uint8_t>{1, 2, 3});
  std::vector<std::uint8_t> buffer(5, 0xFF);
  EXPECT_EQ(stream.Read(buffer), 3u);
  EXPECT_EQ(buffer, (std::vector<std::uint8_t>{1, 2, 3, 0xFF, 0xFF}));
  EXPECT_EQ(ReadBytesAt(stream, 1, 5), (std::vector<std::uint8_t>{2, 3}));
  stream.Seek(100);
  EXPECT_EQ(stream.Read(buffer), 0u);
  EXPECT_TRUE(ReadBytesAt(stream, 100, 5).empty());
  EXPECT_TRUE(ReadBytesAt(stream, 0xFFFFFFFFFFFFFFFFull, 5).empty());
}

TEST(StreamTest, MemoryStreamWritePastEndZeroFillsTheGap) {
  MemoryStream stream;
  stream.Seek(2);
  stream.WriteU16(0x4E45);
  EXPECT_EQ(stream.Bytes(), (std::vector<std::uint8_t>{0, 0, 0x45, 0x4E}));
  stream.Patch(0, std::vector<std::uint8_t>{9});
  EXPECT_EQ(stream.Bytes()[0], 9);
  EXPECT_THROW(stream.Patch(3, std::vector<std::uint8_t>{1, 2}), StreamError);
}

TEST(StreamTest, FileStreamReadsAndReportsOpenErrors) {
  testing::TempDir dir;
  const auto path = dir.Path() / "data.bin";
  std::ofstream(path, std::ios::binary) << "MZ";
  FileStream stream(path);
  EXPECT_EQ(stream.Size(), 2u);
  std::array<std::uint8_t, 2> word{};
  ASSERT_EQ(stream.Read(word), 2u);
  EXPECT_EQ(ByteCursor(word).U16At(0), 0x5A4D);
  EXPECT_EQ(stream.Read(word), 0u);
  try {
    FileStream missing(dir.Path() / "missing.bin");
    FAIL() << "opened a missing file";
  } catch (const FOpenError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"", 0), 0u);
  }
  EXPECT_THROW(FileStream{dir.Path()}, FOpenError);
  ASSERT_EQ(::mkfifo((dir.Path() / "fifo").c_str(), 0600), 0);
  EXPECT_EQ(FileStream::OpenIfRegular(dir.Path() / "fifo"), nullptr);  // and no wait for a writer
  EXPECT_EQ(FileStream::OpenIfRegular(dir.Path() / "missing.bin"), nullptr);
}

TEST(StreamTest, FileStreamReadsAtItsOwnPositionAcrossTheHeadAndCountsStoredBytes) {
  testing::TempDir dir;
  const auto path = dir.Path() / "data.bin";
  std::vector<std::uint8_t> bytes(FileStream::kHeadBytes * 3);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));

  FileStream stream(path);
  FileStream other(path);
  std::vector<std::uint8_t> got(FileStream::kHeadBytes);
  stream.Seek(FileStream::kHeadBytes - 10);  // straddles the head
  ASSERT_EQ(stream.Read(got), got.size());
  EXPECT_TRUE(std::equal(got.begin(), got.end(), bytes.begin() + FileStream::kHeadBytes - 10));
  other.Seek(5);
  std::uint8_t one = 0;
  ASSERT_EQ(other.Read(std::span(&one, 1)), 1u);
  EXPECT_EQ(one, bytes[5]);
  stream.Seek(bytes.size() - 3);
  EXPECT_EQ(stream.Read(got), 3u);
  EXPECT_EQ(stream.Read(got), 0u);

  const auto sparse = dir.Path() / "sparse.bin";
  std::ofstream(sparse).put(0);
  std::filesystem::resize_file(sparse, 1ull << 30);
  FileStream holes(sparse);
  EXPECT_EQ(holes.Size(), 1ull << 30);
  EXPECT_LT(holes.StoredSize(), 1u << 20);
}

TEST(SafeFileTest, ReplacesContentKeepsModeAndFollowsLinks) {
  testing::TempDir dir;
  const auto real = dir.Path() / "real.ico";
  std::ofstream(real, std::ios::binary) << "old content";
  std::filesystem::permissions(real, std::filesystem::perms::owner_read |
                                         std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  const auto link = dir.Path() / "link.ico";
  std::filesystem::create_symlink(real, link);

  const std::vector<std::uint8_t> bytes{1, 2, 3};
  ReplaceFileContents(link, bytes);

  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadWholeFile(real), bytes);
  EXPECT_EQ(std::filesystem::status(real).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            2);  // no temporary file left behind
}

TEST(SafeFileTest, FailureNamesThePathAndLeavesNothing) {
  testing::TempDir dir;
  const auto target = dir.Path() / "no-such-folder" / "x.ico";
  try {
    ReplaceFileContents(target, std::vector<std::uint8_t>{1});
    FAIL() << "wrote into a missing folder";
  } catch (const FCreateError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"" + target.string() + "\". ", 0),
              0u);
  }
}

}  // namespace
}  // namespace pictarix
