// Window tests run offscreen in one QApplication, with settings and the runtime folder in private
// folders so that the user's own settings and running windows are never touched.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "ui/window/SettingsFile.h"

int main(int argc, char* argv[]) {
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QStandardPaths::setTestModeEnabled(true);
  QTemporaryDir settingsFolder;
  if (!settingsFolder.isValid()) return 2;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
  pictarix::SetSettingsFolder(settingsFolder.path());
  // A runtime folder of our own: no test ever reaches the socket of a window the user runs.
  QTemporaryDir runtimeFolder;
  if (!runtimeFolder.isValid()) return 2;
  setenv("XDG_RUNTIME_DIR", runtimeFolder.path().toLocal8Bit().constData(), 1);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
