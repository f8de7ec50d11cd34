#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "formats/FileIcons.h"
#include "formats/IconLibrary.h"
#include "formats/ne/IconLibraryWriter.h"
#include "os/Stream.h"
#include "output/OutputFiles.h"
#include "support/NeBuilder.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::DibImage;
using testing::IclFile;
using testing::IconFromImages;

const Bytes kImage16 = DibImage(16, 4, 0x22);

// An icon that counts its destructions.
struct CountedIcon : AdvancedIcon {
  explicit CountedIcon(int& freed) : freed_(freed) {}
  ~CountedIcon() override { ++freed_; }
  int& freed_;
};

std::vector<std::string> Names(const IconList& list) {
  std::vector<std::string> names;
  for (std::int32_t i = 0; i < list.Count(); ++i) names.push_back(list.Name(i));
  return names;
}

class IconLibraryTest : public ::testing::Test {
 protected:
  std::filesystem::path File(const std::string& name, const Bytes& bytes) {
    const auto path = dir_.Path() / name;
    testing::WriteBytes(path, bytes);
    return path;
  }
  std::filesystem::path Library(const std::string& name, std::vector<std::string> iconNames) {
    std::vector<testing::IclIcon> icons;
    for (auto& iconName : iconNames) icons.push_back({iconName, {kImage16}});
    return File(name, IclFile(icons).Build());
  }
  testing::TempDir dir_;
};

TEST(IconListTest, AddIconNamesNamelessIconsByPosition) {
  IconLibrary library;
  IconList& list = library.Icons;
  list.AddIcon("", std::make_unique<AdvancedIcon>());
  list.AddIcon("Same", std::make_unique<AdvancedIcon>());
  list.AddIcon("Same", std::make_unique<AdvancedIcon>());
  list.AddIcon("Unused", nullptr);
  list.AddIcon("", std::make_unique<AdvancedIcon>());
  list.AddIcon("", std::make_unique<AdvancedIcon>());
  EXPECT_EQ(Names(list), (std::vector<std::string>{"Icon 1", "Same", "Same", "Icon 4", "Icon 5"}));
}

TEST(IconListTest, TheListOwnsItsIcons) {
  int freed = 0;
  {
    IconLibrary library;
    for (int i = 0; i < 4; ++i) library.Icons.AddIcon("", std::make_unique<CountedIcon>(freed));
    EXPECT_THROW(library.Icons.Delete(4), ListError);
    EXPECT_THROW(library.Icons.Delete(-1), ListError);
    EXPECT_THROW(library.Icons.Name(4), ListError);
    EXPECT_EQ(freed, 0);
    EXPECT_EQ(library.Icons.Count(), 4);
    library.Icons.Delete(1);
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(Names(library.Icons), (std::vector<std::string>{"Icon 1", "Icon 3", "Icon 4"}));
    IconEntry taken = library.Icons.Extract(0);
    EXPECT_EQ(taken.Name, "Icon 1");
    EXPECT_EQ(freed, 1);
    library.FileName = "some.icl";
    library.Clear();
    EXPECT_EQ(freed, 3);
    EXPECT_TRUE(library.FileName.empty());
    library.Icons.AddIcon("", std::make_unique<CountedIcon>(freed));
  }
  EXPECT_EQ(freed, 5);
}

// The container the file's first bytes show; none for a file that is not regular.
Container Detect(const std::filesystem::path& path) {
  const auto stream = FileStream::OpenIfRegular(path);
  return stream ? DetectModule(*stream) : Container::None;
}

TEST_F(IconLibraryTest, RecognisesModulesByContentOnly) {
  const auto ne = Library("library.txt", {"A"});
  EXPECT_EQ(Detect(ne), Container::NeModule);
  testing::ByteWriter pe;
  pe.Text("MZ").PadTo(0x3C).U16(0x40).PadTo(0x40).Text("PE").U16(0).Zeros(20);
  EXPECT_EQ(Detect(File("x.icl", pe.Data())), Container::PeModule);

  testing::ByteWriter beyond;  // "NE" at 0x3C is an offset past the end, not a signature
  beyond.Text("MZ").PadTo(0x3C).Text("NE").PadTo(0x40);
  testing::ByteWriter le;
  le.Text("MZ").PadTo(0x3C).U16(0x40).PadTo(0x40).Text("LE").Zeros(20);
  testing::ByteWriter cut;  // the word at the offset is cut by the end of the file
  cut.Text("MZ").PadTo(0x3C).U16(0x40).PadTo(0x40).Text("N");
  const std::vector<std::pair<const char*, Bytes>> notModules = {
      {"empty", {}},
      {"one byte", {'M'}},
      {"MZ only", {'M', 'Z'}},
      {"ends inside 0x3C", {'M', 'Z', 0, 0, 0}},
      {"offset beyond the end", beyond.Data()},
      {"LE module", le.Data()},
      {"cut signature", cut.Data()},
      {"icon file", {0, 0, 1, 0, 0, 0}},
  };
  for (const auto& [name, bytes] : notModules) {
    EXPECT_EQ(Detect(File("f", bytes)), Container::None) << name;
  }
  EXPECT_EQ(Detect(dir_.Path() / "missing.dll"), Container::None);
  EXPECT_EQ(Detect(dir_.Path()), Container::None);
}

TEST_F(IconLibraryTest, LoadFromFileReplacesTheListOrLeavesItAlone) {
  IconLibrary library;
  const auto first = Library("first.icl", {"A", "B"});
  const auto second = Library("second.dat", {"C"});
  ASSERT_EQ(library.LoadFromFile(first), LoadOutcome::Loaded);
  EXPECT_EQ(library.FileName, first);
  EXPECT_EQ(Names(library.Icons), (std::vector<std::string>{"A", "B"}));
  ASSERT_EQ(library.LoadFromFile(second), LoadOutcome::Loaded);
  EXPECT_EQ(Names(library.Icons), (std::vector<std::string>{"C"}));
  EXPECT_EQ(library.FileName, second);

  // Not modules: everything stays as it was.
  const auto text = File("notes.txt", Bytes{'h', 'e', 'l', 'l', 'o'});
  const auto ico = File("a.ico", Bytes{0, 0, 1, 0, 0, 0});
  for (const auto& path : {text, ico, dir_.Path() / "missing.icl"}) {
    EXPECT_EQ(library.LoadFromFile(path), LoadOutcome::NotModule);
    EXPECT_EQ(Names(library.Icons), (std::vector<std::string>{"C"}));
    EXPECT_EQ(library.FileName, second);
  }

  // A module that cannot be read raises with the reason: empty list, no name.
  auto broken = IclFile({{"X", {kImage16}}}).Build();
  broken[0x40 + 64] = 16;  // alignment shift
  const auto brokenPath = File("broken.icl", broken);
  try {
    library.LoadFromFile(brokenPath);
    ADD_FAILURE() << "no error";
  } catch (const IconLibraryError& error) {
    EXPECT_STREQ(error.what(), "Invalid resource alignment");
  }
  EXPECT_EQ(library.Icons.Count(), 0);
  EXPECT_TRUE(library.FileName.empty());

  // A blank name clears.
  library.LoadFromFile(first);
  EXPECT_EQ(library.LoadFromFile(" \t\n"), LoadOutcome::NotModule);
  EXPECT_EQ(library.Icons.Count(), 0);
  EXPECT_TRUE(library.FileName.empty());
}

TEST_F(IconLibraryTest, OpenErrorsPropagate) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
  const auto locked = Library("locked.icl", {"A"});
  std::filesystem::permissions(locked, std::filesystem::perms::none);
  IconLibrary library;
  library.Icons.AddIcon("kept", IconFromImages({kImage16}));
  EXPECT_THROW(library.LoadFromFile(locked), FOpenError);
  EXPECT_EQ(library.Icons.Count(), 1);  // raised during detection: untouched
  EXPECT_FALSE(IsIconLibraryFile(locked));
}

TEST_F(IconLibraryTest, SavingChecksTheLimitsBeforeWriting) {
  IconLibrary library;
  const auto target = dir_.Path() / "out.icl";
  try {
    SaveIconLibrary(library.Icons, target);
    FAIL();
  } catch (const IconLibraryError& error) {
    EXPECT_STREQ(error.what(), "Unable to write Iconlibrary with no icons");
  }
  EXPECT_FALSE(std::filesystem::exists(target));

  // As many icons as the header can place before its names table fit. (Icons without images
  // give a file without an icon-image record, whose names the reader does not read.)
  const int most = static_cast<int>(IconLibraryWriter::kMaxResources);
  for (int i = 0; i < most; ++i) library.Icons.AddIcon("", std::make_unique<AdvancedIcon>());
  SaveIconLibrary(library.Icons, target);
  IconLibrary back;
  ASSERT_EQ(back.LoadFromFile(target), LoadOutcome::Loaded);
  ASSERT_EQ(back.Icons.Count(), most);
  EXPECT_EQ(back.Icons.Name(most - 1), "out 5454");
  EXPECT_EQ(library.FileName, std::filesystem::path());  // saving does not set it

  const Bytes before = ReadWholeFile(target);
  while (library.Icons.Count() <= 32767)
    library.Icons.AddIcon("", std::make_unique<AdvancedIcon>());
  try {
    SaveIconLibrary(library.Icons, target);
    FAIL();
  } catch (const IconLibraryError& error) {
    EXPECT_STREQ(error.what(), "Iconlibraries with more than 32767 Icons are not possible");
  }
  EXPECT_EQ(ReadWholeFile(target), before);

  // Two images of 2 GiB (stated, not held) cannot all start below 65536 units, whatever the
  // shift: refused instead of written with offsets that wrap around.
  IconLibrary huge;
  auto icon = std::make_unique<AdvancedIcon>();
  for (int i = 0; i < 2; ++i) {
    auto image = std::make_unique<IconImage>();
    image->BytesInRes = 0x80000000u;
    icon->Images.Add(std::move(image));
  }
  huge.Icons.AddIcon("", std::move(icon));
  try {
    SaveIconLibrary(huge.Icons, target);
    FAIL();
  } catch (const IconLibraryError& error) {
    EXPECT_STREQ(error.what(), "Icon data too large for an icon library");
  }
  EXPECT_EQ(ReadWholeFile(target), before);
}

TEST_F(IconLibraryTest, AddingToALibraryKeepsItsIconsFirst) {
  const auto path = Library("lib.icl", {"0", "1", "2", "3", "4"});
  IconLibrary library;
  ASSERT_EQ(library.LoadFromFile(path), LoadOutcome::Loaded);
  for (int i = 0; i < 2; ++i) {
    library.Icons.AddIcon(std::to_string(library.Icons.Count()),
                          IconFromImages({DibImage(32, 8, static_cast<std::uint8_t>(i))}));
  }
  SaveIconLibrary(library.Icons, path);
  IconLibrary back;
  ASSERT_EQ(back.LoadFromFile(path), LoadOutcome::Loaded);
  EXPECT_EQ(Names(back.Icons), (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6"}));
  EXPECT_EQ(back.Icons.Icon(0).Images.Get(0)->Bytes(), kImage16);
  EXPECT_EQ(back.Icons.Icon(6).Images.Get(0)->Bytes(), DibImage(32, 8, 1));
}

TEST_F(IconLibraryTest, OnlyReadableIconOnlyNeFilesAreIconLibraries) {
  EXPECT_TRUE(IsIconLibraryFile(Library("lib.icl", {"A", "B"})));

  auto program = IclFile({{"A", {kImage16}}});
  program.Types.push_back({0x8006, {{0x8001, Bytes(8, 1), {}, {}}}, {}});  // a string table
  EXPECT_FALSE(IsIconLibraryFile(File("program.exe", program.Build())));

  auto missingImage = IclFile({{"A", {kImage16}}});
  missingImage.Types[1].Resources[0].Id = 0x8005;
  EXPECT_FALSE(IsIconLibraryFile(File("broken.icl", missingImage.Build())));

  auto noResources = IclFile({{"A", {kImage16}}});
  noResources.NamesField = 64;
  EXPECT_FALSE(IsIconLibraryFile(File("empty.icl", noResources.Build())));

  testing::ByteWriter pe;
  pe.Text("MZ").PadTo(0x3C).U16(0x40).PadTo(0x40).Text("PE").U16(0).Zeros(20);
  EXPECT_FALSE(IsIconLibraryFile(File("module.dll", pe.Data())));
  EXPECT_FALSE(IsIconLibraryFile(dir_.Path() / "missing.icl"));
  EXPECT_FALSE(IsIconLibraryFile(File("text.icl", Bytes{'t', 'e', 'x', 't'})));
}

}  // namespace
}  // namespace pictarix
