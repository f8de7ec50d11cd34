#include <gtest/gtest.h>

#include "formats/pe/ResourceNameCase.h"

namespace pictarix {
namespace {

TEST(ResourceNameCaseTest, FoldsAsciiAndLatin1LettersOnly) {
  EXPECT_EQ(FoldResourceNameChar(u'a'), u'A');
  EXPECT_EQ(FoldResourceNameChar(u'z'), u'Z');
  EXPECT_EQ(FoldResourceNameChar(u'M'), u'M');
  EXPECT_EQ(FoldResourceNameChar(u'\u00e9'), u'\u00c9');
  EXPECT_EQ(FoldResourceNameChar(u'\u00ff'), u'\u0178');  // y with diaeresis
  EXPECT_EQ(FoldResourceNameChar(u'\u00f7'), u'\u00f7');  // the division sign stays
  EXPECT_EQ(FoldResourceNameChar(u'{'), u'{');            // not a letter, 0x20 above "["
  EXPECT_EQ(FoldResourceNameChar(u'\u0430'), u'\u0430');  // Cyrillic stays as it is
}

}  // namespace
}  // namespace pictarix
