#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/FileIcons.h"
#include "formats/ICLReader.h"
#include "os/Errors.h"
#include "os/Stream.h"
#include "support/IconFileBuilder.h"
#include "support/NeBuilder.h"
#include "support/PeModuleBuilder.h"

namespace pictarix {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::BlankDibImage;

FileIcons Read(const Bytes& bytes, const std::string& name, const FileIconsOptions& options = {}) {
  MemoryStream stream(bytes);
  stream.Seek(bytes.size() / 2);  // the read starts anywhere
  return ReadFileIcons(stream, name, options);
}

TEST(FileIconsTest, TellsTheContainerAndReadsIconFilesOnlyByTheirName) {
  testing::IconFileBuilder icon;
  icon.AddImage(BlankDibImage(32, 32, 4));
  const Bytes iconFile = icon.Build();
  testing::PeModuleBuilder pe;
  pe.AddGroupIcon(ResourceName::FromId(1), icon);
  const Bytes ne = testing::IclFile({{"A", {testing::DibImage(16, 4)}}}).Build();

  const FileIcons module = Read(pe.Build(), "dir/m.ico");
  EXPECT_EQ(module.Found, Container::PeModule);
  ASSERT_EQ(module.Icons.size(), 1u);
  EXPECT_EQ(module.Icons[0].Name, "1");
  const FileIcons library = Read(ne, "lib.icl");
  EXPECT_EQ(library.Found, Container::NeModule);
  EXPECT_TRUE(library.IconsOnly);

  const FileIcons file = Read(iconFile, "dir.x/Some.Name.ICO");
  EXPECT_EQ(file.Found, Container::IconFile);
  ASSERT_EQ(file.Icons.size(), 1u);
  EXPECT_EQ(file.Icons[0].Name, "Some.Name");
  EXPECT_EQ(file.Icons[0].Icon->Images.Count(), 1);

  EXPECT_EQ(Read(iconFile, "picture.icon").Found, Container::None);
  EXPECT_EQ(Read(Bytes{'t', 'e', 'x', 't'}, "text.ico").Found, Container::None);
  FileIconsOptions modulesOnly;
  modulesOnly.IconFiles = false;
  EXPECT_EQ(Read(iconFile, "a.ico", modulesOnly).Found, Container::None);
  std::stop_source stop;
  stop.request_stop();
  FileIconsOptions stopped;
  stopped.Stop = stop.get_token();
  EXPECT_TRUE(Read(iconFile, "a.ico", stopped).Icons.empty());
}

TEST(FileIconsTest, AnIconFileThatCannotBeReadIsSaidAndAModuleThatCannotBeReadRaises) {
  testing::IconFileBuilder icon;
  icon.AddImage(BlankDibImage(16, 16, 8)).BytesInRes = 0xFFFFFFF0u;
  const FileIcons file = Read(icon.Build(), "a.ico");
  EXPECT_EQ(file.Found, Container::IconFile);
  EXPECT_TRUE(file.Icons.empty());
  EXPECT_THROW(std::rethrow_exception(file.IconFileError), FormatError);

  testing::NeFile ne = testing::IclFile({{"A", {testing::DibImage(16, 4)}}});
  ne.ResourceTableField = 0;
  EXPECT_THROW(Read(ne.Build(), "lib.icl"), IconLibraryError);
}

}  // namespace
}  // namespace pictarix
