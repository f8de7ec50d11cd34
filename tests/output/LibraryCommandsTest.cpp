#include "output/LibraryCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "formats/ICLReader.h"
#include "formats/IconLibrary.h"
#include "output/EntryListFixture.h"
#include "support/HarvestFixtures.h"
#include "support/NeBuilder.h"
#include "support/TempDir.h"

namespace pictarix {
namespace {

using testing::MakeIcon;

class LibraryCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const int bits : {1, 4, 8, 24}) fixture.Add(MakeIcon({{32, bits}, {16, 4}}));
  }
  std::filesystem::path PathOf(const std::string& name) const { return dir.Path() / name; }

  // The library's names, each with the bit count of its icon's 32x32 image.
  static std::vector<std::pair<std::string, int>> ReadBack(const std::filesystem::path& file) {
    IconLibrary library;
    EXPECT_EQ(library.LoadFromFile(file), LoadOutcome::Loaded);
    std::vector<std::pair<std::string, int>> contents;
    for (int i = 0; i < library.Icons.Count(); ++i) {
      const IconImageList& images = library.Icons.Icon(i).Images;
      int bits = -1;
      for (int j = 0; j < images.Count(); ++j) {
        if (images.Get(j)->Width == 32) bits = images.Get(j)->BitCount;
      }
      contents.emplace_back(library.Icons.Name(i), bits);
    }
    return contents;
  }

  testing::TempDir dir;
  testing::EntryListFixture fixture;
};

using Listing = std::vector<std::pair<std::string, int>>;

TEST_F(LibraryCommandsTest, SaveWritesCopiesOfTheSelectedIconsNamedFromZero) {
  EXPECT_EQ(SaveEntriesToLibrary(fixture.Select({0, 2, 3}), PathOf("a.icl"), false), 3);
  EXPECT_EQ(ReadBack(PathOf("a.icl")), (Listing{{"0", 1}, {"1", 8}, {"2", 24}}));
  EXPECT_EQ(fixture.Entries[2].Icon->Images.Count(), 2);  // the entries keep their icons

  // Onto an existing library: only the selected icons remain.
  EXPECT_EQ(SaveEntriesToLibrary(fixture.Select({1}), PathOf("a.icl"), false), 1);
  EXPECT_EQ(ReadBack(PathOf("a.icl")), (Listing{{"0", 4}}));
}

TEST_F(LibraryCommandsTest, AddAppendsAfterTheLibrarysIconsNamingOnFromItsCount) {
  testing::WriteIconLibrary(PathOf("five.icl"), {{"a", {{32, 32}}},
                                                 {"b", {{32, 8}, {16, 8}}},
                                                 {"c", {{32, 4}}},
                                                 {"d", {{32, 1}}},
                                                 {"e", {{32, 24}}}});
  EXPECT_EQ(SaveEntriesToLibrary(fixture.Select({3, 0}), PathOf("five.icl"), true), 7);
  EXPECT_EQ(ReadBack(PathOf("five.icl")),
            (Listing{{"a", 32}, {"b", 8}, {"c", 4}, {"d", 1}, {"e", 24}, {"5", 24}, {"6", 1}}));

  // The same entry again: twice in the library, under another name.
  EXPECT_EQ(SaveEntriesToLibrary(fixture.Select({3}), PathOf("five.icl"), true), 8);
  EXPECT_EQ(ReadBack(PathOf("five.icl")).back(), (std::pair<std::string, int>{"7", 24}));

  // Adding to a file that does not exist yet makes a new library.
  EXPECT_EQ(SaveEntriesToLibrary(fixture.Select({1}), PathOf("new.icl"), true), 1);
  EXPECT_EQ(ReadBack(PathOf("new.icl")), (Listing{{"0", 4}}));
}

TEST_F(LibraryCommandsTest, AddRefusesWhatIsNoIconLibraryAndLeavesItUnchanged) {
  testing::ByteWriter pe;
  pe.Text("MZ").PadTo(0x3C).U16(0x40).PadTo(0x40).Text("PE").U16(0).Zeros(20);
  auto program = testing::IclFile({{"A", {testing::DibImage(32, 4)}}});
  program.Types.push_back({0x8006, {{0x8001, std::vector<std::uint8_t>(8, 1), {}, {}}}, {}});
  auto unreadable = testing::IclFile({{"A", {testing::DibImage(32, 4)}}});
  unreadable.Types[1].Resources[0].Id = 0x8005;  // the group names a missing image

  const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> targets = {
      {"notes.txt", {'k', 'e', 'e', 'p'}},
      {"module.dll", pe.Data()},
      {"program.exe", program.Build()},
      {"broken.icl", unreadable.Build()}};
  for (const auto& [name, bytes] : targets) {
    testing::WriteBytes(PathOf(name), bytes);
    try {
      SaveEntriesToLibrary(fixture.Select({0}), PathOf(name), true);
      ADD_FAILURE() << name << " was accepted";
    } catch (const PictarixError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Cannot add to \"" + PathOf(name).string() + "\": it is not an icon library");
    }
    EXPECT_EQ(ReadWholeFile(PathOf(name)), bytes) << name;
  }
  // A folder is no icon library either.
  std::filesystem::create_directory(PathOf("folder.icl"));
  EXPECT_THROW(SaveEntriesToLibrary(fixture.Select({0}), PathOf("folder.icl"), true),
               PictarixError);
}

TEST_F(LibraryCommandsTest, NoIconNoFileAndAnAddedLibraryStaysAsItWas) {
  fixture.Entries.push_back(ListEntry{});  // entry 4: no icon
  EXPECT_EQ(SaveEntriesToLibrary(fixture.Select({4, 9, -1}), PathOf("none.icl"), false), 0);
  EXPECT_FALSE(std::filesystem::exists(PathOf("none.icl")));

  testing::WriteIconLibrary(PathOf("two.icl"), {{"x", {{32, 4}}}, {"y", {{32, 8}}}});
  const auto before = ReadWholeFile(PathOf("two.icl"));
  EXPECT_EQ(SaveEntriesToLibrary(fixture.Select({4}), PathOf("two.icl"), true), 2);
  EXPECT_EQ(ReadWholeFile(PathOf("two.icl")), before);  // rewritten with its icons unchanged
}

TEST_F(LibraryCommandsTest, AFailedWriteLeavesTheLibraryAsItWas) {
  testing::WriteIconLibrary(PathOf("lib.icl"), {{"x", {{32, 4}}}});
  const auto before = ReadWholeFile(PathOf("lib.icl"));
  testing::WriteBytes(PathOf("plain"), std::vector<std::uint8_t>{'x'});
  EXPECT_THROW(SaveEntriesToLibrary(fixture.Select({0}), PathOf("plain") / "a.icl", false),
               FCreateError);
  EXPECT_EQ(ReadWholeFile(PathOf("lib.icl")), before);
}

TEST_F(LibraryCommandsTest, TwoWritersAddingAtOnceBothKeepTheirIcons) {
  testing::WriteIconLibrary(PathOf("shared.icl"), {{"x", {{32, 4}}}});
  constexpr int kAdds = 5;
  auto addSeveralTimes = [&](int bits) {
    testing::EntryListFixture own;  // each writer its own entries, as two processes have
    own.Add(MakeIcon({{32, bits}}));
    for (int i = 0; i < kAdds; ++i)
      SaveEntriesToLibrary(own.Select({0}), PathOf("shared.icl"), true);
  };
  std::thread first(addSeveralTimes, 8);
  std::thread second(addSeveralTimes, 24);
  first.join();
  second.join();
  const Listing listing = ReadBack(PathOf("shared.icl"));
  ASSERT_EQ(listing.size(), 1u + 2 * kAdds);
  EXPECT_EQ(std::count(listing.begin(), listing.end(), std::pair<std::string, int>{"x", 4}), 1);
  int eight = 0;
  for (const auto& [name, bits] : listing) eight += bits == 8 ? 1 : 0;
  EXPECT_EQ(eight, kAdds);
}

}  // namespace
}  // namespace pictarix
