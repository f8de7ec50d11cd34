#include "ui/window/Settings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>

#include <QSettings>

#include "support/TempDir.h"
#include "ui/FakeDialogs.h"
#include "ui/WindowFixture.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/window/MainWindow.h"
#include "ui/window/QtPaths.h"
#include "ui/window/SettingsFile.h"

namespace pictarix::testing {
namespace {

QVariant StoredValue(const QString& name) {
  QSettings settings(QSettings::UserScope, QStringLiteral("Wexlund"), QStringLiteral("Pictarix"));
  return settings.value(name);
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearSettings(); }
  void Store(const QVariant& value) {
    QSettings settings(QSettings::UserScope, QStringLiteral("Wexlund"), QStringLiteral("Pictarix"));
    settings.setValue(QStringLiteral("T"), value);
    settings.sync();
  }
  bool StayOnTop() {
    return ReadSettingBool(SettingsRoot::CurrentUser, kSettingsKey, kStayOnTopValue, true);
  }
};

TEST_F(SettingsTest, MissingKeyReadsTheDefaultAndWritingCreatesIt) {
  EXPECT_FALSE(SettingsGroupExists(SettingsRoot::CurrentUser, kSettingsKey));
  EXPECT_TRUE(StayOnTop());
  EXPECT_FALSE(ReadSettingBool(SettingsRoot::CurrentUser, kSettingsKey, kStayOnTopValue, false));
  EXPECT_EQ(ReadSettingInt(SettingsRoot::CurrentUser, kSettingsKey, kStayOnTopValue, -7), -7);

  WriteSettingBool(SettingsRoot::CurrentUser, kSettingsKey, kStayOnTopValue, false);
  EXPECT_TRUE(SettingsGroupExists(SettingsRoot::CurrentUser, kSettingsKey));
  EXPECT_FALSE(StayOnTop());
  EXPECT_EQ(ReadSettingInt(SettingsRoot::CurrentUser, kSettingsKey, kStayOnTopValue, -7), 0);
  WriteSettingBool(SettingsRoot::CurrentUser, kSettingsKey, kStayOnTopValue, true);
  EXPECT_EQ(ReadSettingInt(SettingsRoot::CurrentUser, kSettingsKey, kStayOnTopValue, -7), 1);
  // A new key gets an empty unnamed value, as creating a registry key does.
  EXPECT_EQ(StoredValue(QStringLiteral("Default")).toString(), QString());
}

TEST_F(SettingsTest, StoredTypesReadAsTheTypeTableSays) {
  Store(QStringLiteral("0"));
  EXPECT_FALSE(StayOnTop());
  Store(QStringLiteral("no number"));
  EXPECT_TRUE(StayOnTop());
  Store(2);
  EXPECT_TRUE(StayOnTop());
  Store(QByteArray(16, '\0'));  // binary data longer than 8 bytes: the default
  EXPECT_TRUE(StayOnTop());
  Store(QByteArray(8, '\0'));
  EXPECT_FALSE(StayOnTop());
  Store(true);  // a type the table does not know: the default
  EXPECT_EQ(ReadSettingInt(SettingsRoot::CurrentUser, kSettingsKey, kStayOnTopValue, 5), 5);
}

TEST(StoredValueToIntTest, ConvertsTextNumbersAndBytesToTheLow32Bits) {
  const auto read = [](const QVariant& value) {
    std::int32_t result = -99;
    return StoredValueToInt(value, result) ? std::optional<std::int32_t>(result) : std::nullopt;
  };
  EXPECT_EQ(read(QStringLiteral("42")), 42);
  EXPECT_EQ(read(QStringLiteral("-3")), -3);
  EXPECT_EQ(read(QStringLiteral("$10")), 16);
  EXPECT_EQ(read(QStringLiteral("0x10")), 16);
  EXPECT_EQ(read(QStringLiteral("4294967297")), 1);  // 2^32 + 1: low 32 bits
  EXPECT_EQ(read(QStringLiteral("-9223372036854775808")), 0);
  EXPECT_EQ(read(QStringLiteral("9223372036854775808")), std::nullopt);  // beyond 64 bits
  EXPECT_EQ(read(QStringLiteral("")), std::nullopt);
  EXPECT_EQ(read(QStringLiteral("--1")), std::nullopt);
  EXPECT_EQ(read(QStringLiteral("1.5")), std::nullopt);
  EXPECT_EQ(read(QVariant(qlonglong{0x1'0000'0002})), 2);
  EXPECT_EQ(read(QVariant(4294967295u)), -1);
  EXPECT_EQ(read(QByteArray::fromHex("0102")), 0x0201);
  EXPECT_EQ(read(QByteArray::fromHex("ffffffff01")), -1);
  EXPECT_EQ(read(QByteArray::fromHex("000000000000000000")), std::nullopt);
  EXPECT_EQ(read(QVariant(1.0)), std::nullopt);
}

TEST_F(SettingsTest, KeyPathWithLeadingBackslashIsTheSameKey) {
  WriteSettingBool(SettingsRoot::CurrentUser, QStringLiteral("\\Software\\Wexlund\\Pictarix"),
               kStayOnTopValue, false);
  EXPECT_FALSE(StayOnTop());
  // A path that names no organisation and application is no key: reads give the default.
  WriteSettingBool(SettingsRoot::CurrentUser, QStringLiteral("Pictarix"), kStayOnTopValue, false);
  EXPECT_TRUE(
      ReadSettingBool(SettingsRoot::CurrentUser, QStringLiteral("Pictarix"), kStayOnTopValue, true));
}

// The settings files set aside in the settings folder, each removed; answers how many.
int RemoveSetAside(const std::filesystem::path& settings) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(settings.parent_path())) {
    if (entry.path().filename().string().starts_with(settings.filename().string() + ".bad-")) {
      std::filesystem::remove(entry.path());
      ++count;
    }
  }
  return count;
}

TEST_F(SettingsTest, AFileThatIsNoRegularFileOrNoSettingsIsSetAsideAndNeverWrittenThrough) {
  const std::filesystem::path settings = SettingsFilePath("Wexlund", "Pictarix");
  TempDir temp;
  const std::filesystem::path fifo = temp.Path() / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::filesystem::path victim = temp.Path() / "victim";
  std::ofstream(victim) << "keep\n";
  std::filesystem::remove(settings);
  std::filesystem::create_directories(settings.parent_path());  // run alone: no settings yet

  // A link to a FIFO: read without waiting, set aside with a message, the defaults used.
  std::filesystem::create_symlink(fifo, settings);
  ::testing::internal::CaptureStderr();
  const auto started = std::chrono::steady_clock::now();
  EXPECT_TRUE(StayOnTop());
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
  const std::string message = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(message.find("is a symbolic link; it was moved to"), std::string::npos) << message;
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(settings)));
  EXPECT_EQ(RemoveSetAside(settings), 1);

  // A link to another file: the link is replaced, the file it names keeps its text.
  std::filesystem::create_symlink(victim, settings);
  ::testing::internal::CaptureStderr();
  WriteSettingBool(SettingsRoot::CurrentUser, kSettingsKey, kStayOnTopValue, false);
  ::testing::internal::GetCapturedStderr();
  EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(settings)));
  EXPECT_FALSE(StayOnTop());
  std::ifstream kept(victim);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "keep\n");
  EXPECT_EQ(RemoveSetAside(settings), 1);

  // Text that is no settings: set aside whole.
  std::ofstream(settings) << "[General\nT=0\n";
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(StayOnTop());
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot be read as settings"),
            std::string::npos);
  EXPECT_EQ(RemoveSetAside(settings), 1);
}

TEST_F(SettingsTest, CreatingTheWindowWritesTheProgramPathAndStayOnTop) {
  FakeDialogs dialogs;
  MainWindow window(dialogs);
  EXPECT_EQ(StoredValue(QStringLiteral("Default")).toString(), ProgramPath());
  EXPECT_FALSE(ProgramPath().isEmpty());
  EXPECT_EQ(StoredValue(QStringLiteral("T")).toString(), QStringLiteral("1"));
  EXPECT_EQ(ReadSettingInt(SettingsRoot::CurrentUser, kSettingsKey, kStayOnTopValue, -1), 1);
}

}  // namespace
}  // namespace pictarix::testing
