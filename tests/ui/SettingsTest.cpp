#include "ui/Settings.h"

#include <gtest/gtest.h>

#include <QSettings>

#include "ui/Dialogs.h"
#include "ui/FakeDialogs.h"
#include "ui/IconMain.h"
#include "ui/QtPaths.h"
#include "ui/WindowFixture.h"

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
    return ReadRegBool(TRegRoot::CurrentUser, kSettingsKey, kStayOnTopValue, true);
  }
};

TEST_F(SettingsTest, MissingKeyReadsTheDefaultAndWritingCreatesIt) {
  EXPECT_FALSE(RegKeyExists(TRegRoot::CurrentUser, kSettingsKey));
  EXPECT_TRUE(StayOnTop());
  EXPECT_FALSE(ReadRegBool(TRegRoot::CurrentUser, kSettingsKey, kStayOnTopValue, false));
  EXPECT_EQ(ReadRegInt(TRegRoot::CurrentUser, kSettingsKey, kStayOnTopValue, -7), -7);

  WriteRegBool(TRegRoot::CurrentUser, kSettingsKey, kStayOnTopValue, false);
  EXPECT_TRUE(RegKeyExists(TRegRoot::CurrentUser, kSettingsKey));
  EXPECT_FALSE(StayOnTop());
  EXPECT_EQ(ReadRegInt(TRegRoot::CurrentUser, kSettingsKey, kStayOnTopValue, -7), 0);
  WriteRegBool(TRegRoot::CurrentUser, kSettingsKey, kStayOnTopValue, true);
  EXPECT_EQ(ReadRegInt(TRegRoot::CurrentUser, kSettingsKey, kStayOnTopValue, -7), 1);
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
  EXPECT_EQ(ReadRegInt(TRegRoot::CurrentUser, kSettingsKey, kStayOnTopValue, 5), 5);
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
  WriteRegBool(TRegRoot::CurrentUser, QStringLiteral("\\Software\\Wexlund\\Pictarix"),
               kStayOnTopValue, false);
  EXPECT_FALSE(StayOnTop());
  // A path that names no organisation and application is no key: reads give the default.
  WriteRegBool(TRegRoot::CurrentUser, QStringLiteral("Pictarix"), kStayOnTopValue, false);
  EXPECT_TRUE(
      ReadRegBool(TRegRoot::CurrentUser, QStringLiteral("Pictarix"), kStayOnTopValue, true));
}

TEST_F(SettingsTest, CreatingTheWindowWritesTheProgramPathAndStayOnTop) {
  FakeDialogs dialogs;
  TIconMain window(dialogs);
  EXPECT_EQ(StoredValue(QStringLiteral("Default")).toString(), ProgramPath());
  EXPECT_FALSE(ProgramPath().isEmpty());
  EXPECT_EQ(StoredValue(QStringLiteral("T")).toString(), QStringLiteral("1"));
  EXPECT_EQ(ReadRegInt(TRegRoot::CurrentUser, kSettingsKey, kStayOnTopValue, -1), 1);
}

}  // namespace
}  // namespace pictarix::testing
