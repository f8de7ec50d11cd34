#include <gtest/gtest.h>

#include <string>

#include "os/EscapedText.h"

namespace pictarix {
namespace {

TEST(EscapedTextTest, C1AndBidiCharactersAreEscapedTheirNeighboursKept) {
  EXPECT_EQ(EscapeControlChars("a\u009B31m\u0085\u202E\u2028\u2029\u202A\u2066\u2069"),
            "a\\u{009B}31m\\u{0085}\\u{202E}\\u{2028}\\u{2029}\\u{202A}\\u{2066}\\u{2069}");
  EXPECT_EQ(EscapeControlChars("\u0080\u009F"), "\\u{0080}\\u{009F}");
  // The characters just beside those ranges are ordinary text.
  const std::string ordinary = "\u00A0\u00E9\u2027\u202F\u2065\u206A\U0001F600";
  EXPECT_EQ(EscapeControlChars(ordinary), ordinary);
}

TEST(EscapedTextTest, InvalidBytesShowAsReplacementsOrAsHexWhenTheyAreC1Bytes) {
  // A stray 0x80..0x9F byte is a C1 control to an 8-bit terminal; other invalid bytes stay
  // replaced as before.
  EXPECT_EQ(EscapeControlChars("caf\xE9 \x9B"
                               "2J"),
            "caf\uFFFD \\x9B2J");
  EXPECT_EQ(EscapeControlChars("end\xE2\x80"), "end\uFFFD");  // a cut sequence
  // An overlong form of U+009B is no way round the escape.
  EXPECT_EQ(EscapeControlChars("\xE0\x82\x9B"), "\uFFFD\\x82\\x9B");
}

}  // namespace
}  // namespace pictarix
