// Cursor scheme .inf files as packs ship them, and hostile ones.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/inf/CursorSchemeInf.h"
#include "formats/inf/InfText.h"

namespace pictarix {
namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

// The common installer: a scheme list in [Scheme.Reg], file names in [Strings].
constexpr std::string_view kCommonInstaller = R"([Version]
signature="$CHICAGO$"

[DefaultInstall]
CopyFiles = Scheme.Cur
AddReg    = Scheme.Reg ; the scheme

[Scheme.Reg]
HKCU,"Control Panel\Cursors\Schemes","%SCHEME_NAME%",,"%10%\%CUR_DIR%\%pointer%,%10%\%CUR_DIR%\%help%,%10%\%CUR_DIR%\%work%,%10%\%CUR_DIR%\%busy%,,%10%\%CUR_DIR%\%text%,%10%\%CUR_DIR%\%hand%,%10%\%CUR_DIR%\%unavailiable%,%10%\%CUR_DIR%\%vert%,%10%\%CUR_DIR%\%horz%,%10%\%CUR_DIR%\%dgn1%,%10%\%CUR_DIR%\%dgn2%,%10%\%CUR_DIR%\%move%,%10%\%CUR_DIR%\%alternate%,%10%\%CUR_DIR%\%link%"

[Strings]
CUR_DIR      = "Cursors\Brass ""Deluxe"""
SCHEME_NAME  = "Brass ""Deluxe"""
pointer      = "Normal.ani"
help         = "Help.cur"
work         = "Working.ani"
busy         = "Busy.ani"
cross        = "Cross.cur"
text         = "Text.cur"
hand         = "Pen.cur"
unavailiable = "No.cur"
vert         = "Vert.cur"
horz         = "Horz.cur"
dgn1         = "Dgn1.cur"
dgn2         = "Dgn2.cur"
move         = "Move.cur"
alternate    = "Up.cur"
link         = "Link.cur"
)";

TEST(CursorSchemeInfTest, ReadsTheCommonInstallersSchemeList) {
  const InfText inf = ReadInfText(Bytes(kCommonInstaller));
  EXPECT_FALSE(inf.LeftOut());
  ASSERT_NE(inf.FindSection("scheme.reg"), nullptr);
  EXPECT_EQ(inf.FindSection("DefaultInstall")->Lines[1].Fields,
            std::vector<std::string>{"Scheme.Reg"});
  const CursorSchemeInf scheme = ReadCursorScheme(inf);
  EXPECT_EQ(scheme.Name, "Brass \"Deluxe\"");
  EXPECT_EQ(scheme.Files[0], "Normal.ani");
  EXPECT_EQ(scheme.Files[3], "Busy.ani");
  EXPECT_EQ(scheme.Files[4], "");  // left empty in the list: [Strings] is not consulted
  EXPECT_EQ(scheme.Files[6], "Pen.cur");
  EXPECT_EQ(scheme.Files[14], "Link.cur");
  EXPECT_EQ(scheme.Files[15], "");
}

TEST(CursorSchemeInfTest, ReadsPerRoleRegistryLinesAndStringsKeys) {
  // UTF-16 with its byte order mark, roles set one by one, a machine-wide key.
  const std::u16string perRole =
      u"[Reg]\r\nHKLM,\"Control Panel\\Cursors\",Arrow,0x00020000,\"%10%\\Cursors\\a.cur\"\r\n"
      u"HKEY_CURRENT_USER,Control Panel\\Cursors,hand,,C:\\x\\l\u00e9.ani\r\n";
  std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
  for (char16_t unit : perRole) {
    bytes.push_back(std::uint8_t(unit));
    bytes.push_back(std::uint8_t(unit >> 8));
  }
  CursorSchemeInf scheme = ReadCursorScheme(ReadInfText(bytes));
  EXPECT_EQ(scheme.Files[0], "a.cur");
  EXPECT_EQ(scheme.Files[14], "l\u00e9.ani");
  // No registry lines at all: the [Strings] keys, in Windows-1252.
  scheme = ReadCursorScheme(
      ReadInfText(Bytes("[Strings]\nSCHEME_NAME=Caf\xE9\nPointer=\"x\\..\"\nbusy = b.ani\n")));
  EXPECT_EQ(scheme.Name, "Caf\u00e9");
  EXPECT_EQ(scheme.Files[0], "");  // ".." names no file
  EXPECT_EQ(scheme.Files[3], "b.ani");
}

TEST(CursorSchemeInfTest, HostileTextIsBoundedAndNeverLoops) {
  // Strings naming each other expand once and stop.
  const InfText loop = InfText::Parse("[Strings]\na=\"%b%\"\nb=\"%a%x\"\n");
  EXPECT_EQ(loop.Expand("%a%|%b%|%%|%none%"), "%b%|%a%x|%|%none%");
  // A value repeated into itself: the expansion is cut at its limit.
  std::string doubling = "[Strings]\nbig=\"" + std::string(4000, 'x') + "\"\n[S]\nk=";
  for (int i = 0; i < 500; ++i) doubling += "%big%";
  const InfText big = InfText::Parse(doubling);
  EXPECT_EQ(big.Expand(big.FindSection("S")->Lines[0].Fields[0]).size(), kMaxExpandedBytes);
  // A huge line is left out whole, and so are fields past the limit; nothing before a section.
  std::string text = "orphan=1\n[A]\nk=" + std::string(kMaxInfLineBytes, 'y') +
                     "\nj=" + std::string(1000, ',') + "\n[a]\nz=\"unclosed\n[B\n";
  const InfText hostile = InfText::Parse(text);
  EXPECT_TRUE(hostile.LeftOut());
  ASSERT_EQ(hostile.Sections().size(), 1u);  // [A] and [a] are one; "[B" is no header
  const auto& lines = hostile.Sections()[0].Lines;
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Key, "j");
  EXPECT_EQ(lines[0].Fields.size(), kMaxInfFields);
  EXPECT_EQ(lines[1].Key, "z");
  EXPECT_EQ(lines[1].Fields, std::vector<std::string>{"unclosed"});
  // A file past its limit is cut, and nothing in it yields a scheme.
  std::vector<std::uint8_t> huge(kMaxInfBytes + 10, '[');
  const InfText cut = ReadInfText(huge);
  EXPECT_TRUE(cut.LeftOut());
  EXPECT_TRUE(ReadCursorScheme(cut).Name.empty());
}

}  // namespace
}  // namespace pictarix
