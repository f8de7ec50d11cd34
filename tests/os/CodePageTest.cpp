#include <gtest/gtest.h>

#include <string>

#include "os/CodePage.h"

namespace pictarix {
namespace {

TEST(CodePageTest, EveryWindows1252ByteSurvivesTheWayThroughUtf8) {
  for (int b = 0; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const std::string utf8 = Windows1252ToUtf8(byte);
    EXPECT_EQ(SanitizeUtf8(utf8), utf8) << "byte " << b;
    EXPECT_EQ(Utf8ToWindows1252(utf8), byte) << "byte " << b;
  }
  EXPECT_EQ(Windows1252ToUtf8("\x80"), "\u20AC");
  EXPECT_EQ(Windows1252ToUtf8("\x9F\xE9"), "\u0178\u00E9");
  // The bytes Windows leaves unassigned keep their own code points.
  EXPECT_EQ(Windows1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
}

TEST(CodePageTest, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToWindows1252("Ordner \u00E9\u20AC"), "Ordner \xE9\x80");
  EXPECT_EQ(Utf8ToWindows1252("\u65E5\u672C\U0001F600"), "???");
  EXPECT_EQ(Utf8ToWindows1252("\u0080\u0082"), "??");  // C1 controls that 1252 assigns elsewhere
  EXPECT_EQ(Utf8ToWindows1252("a\xFF"
                              "b\xC3"),
            "a?b?");  // invalid UTF-8
}

TEST(CodePageTest, Utf16UnpairedSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf16ToUtf8(u"Icon \u00E9"), "Icon \u00E9");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD83D, 0xDE00}), "\U0001F600");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD83D, u'b'}), "a\uFFFDb");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDE00, 0xD83D}), "\uFFFD\uFFFD");
}

TEST(CodePageTest, SanitizeReplacesEachInvalidSequence) {
  EXPECT_EQ(SanitizeUtf8("ok \u00E9\U0001F600"), "ok \u00E9\U0001F600");
  EXPECT_EQ(SanitizeUtf8("\xC0\x80"), "\uFFFD\uFFFD");            // overlong
  EXPECT_EQ(SanitizeUtf8("\xED\xA0\x80"), "\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(SanitizeUtf8("\xE2\x82"
                         "x"),
            "\uFFFDx");  // cut short: one replacement
  EXPECT_EQ(SanitizeUtf8("\xF4\x90\x80\x80"), "\uFFFD\uFFFD\uFFFD\uFFFD");  // above U+10FFFF
}

}  // namespace
}  // namespace pictarix
