#include <gtest/gtest.h>

#include "platform/ResourceNameCase.h"

namespace pictarix {
namespace {

TEST(ResourceNameCaseTest, FoldsAsciiAndLatin1LettersOnly) {
  EXPECT_TRUE(ResourceNamesMatch(u"MainIcon", u"MAINICON"));
  EXPECT_TRUE(ResourceNamesMatch(u"caf\u00e9", u"CAF\u00c9"));
  EXPECT_TRUE(ResourceNamesMatch(u"\u00ff", u"\u0178"));   // y with diaeresis
  EXPECT_FALSE(ResourceNamesMatch(u"\u00f7", u"\u00d7"));  // division and multiplication signs
  EXPECT_FALSE(ResourceNamesMatch(u"[", u"{"));            // not letters, 0x20 apart
  EXPECT_FALSE(ResourceNamesMatch(u"ICON", u"ICONS"));
  EXPECT_FALSE(ResourceNamesMatch(u"\u0430", u"\u0410"));  // Cyrillic stays as it is
  EXPECT_TRUE(ResourceNamesMatch(u"", u""));
}

}  // namespace
}  // namespace pictarix
