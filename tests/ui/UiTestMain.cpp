// Window tests run offscreen in one QApplication, with settings in a private folder so that the
// user's own settings are never touched.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

int main(int argc, char* argv[]) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QStandardPaths::setTestModeEnabled(true);
  QTemporaryDir settingsFolder;
  if (!settingsFolder.isValid()) return 2;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
