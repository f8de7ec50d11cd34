// The window program as started: the DDE service announced at start, and a second window on the
// same name.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "support/TempDir.h"
#include "ui/IconFiles.h"
#include "ui/MacroTestClient.h"
#include "ui/window/QtPaths.h"

namespace pictarix::testing {
namespace {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(temp.Path() / "run");
    std::filesystem::permissions(temp.Path() / "run", std::filesystem::perms::owner_all);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_RUNTIME_DIR", FromPath(temp.Path() / "run"));
    environment.insert("XDG_CONFIG_HOME", FromPath(temp.Path() / "config"));
    environment.insert("HOME", FromPath(temp.Path()));
    environment.insert("ASAN_OPTIONS", "detect_leaks=0");
  }
  void TearDown() override {
    for (QProcess* process : {&first, &second}) {
      if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(10000);
      }
    }
  }
  void Start(QProcess& process, const QStringList& arguments) {
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(PICTARIX_PROGRAM), arguments);
    ASSERT_TRUE(process.waitForStarted(30000));
  }
  QString Socket() const { return FromPath(temp.Path() / "run" / "pictarix" / "pictarix.tarvo"); }
  bool SocketAnswers() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < end) {
      if (SendMacro(Socket(), "") == kAck) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  TempDir temp;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  QProcess first;
  QProcess second;
};

TEST_F(ProgramTest, TheFirstWindowServesASecondSaysSoAndRunsWithoutServer) {
  const auto icon = temp.Path() / "icon.ico";
  WriteSolidIconFile(icon, 0x00FF00);
  Start(first, {FromPath(icon), FromPath(temp.Path())});
  ASSERT_TRUE(SocketAnswers());
  EXPECT_EQ(SendMacro(Socket(), FromPath(icon).toStdString()), kAck);

  Start(second, {});
  QByteArray errors;
  PumpUntil([&] {
    second.waitForReadyRead(100);
    errors += second.readAllStandardError();
    return errors.contains("without a DDE server");
  });
  EXPECT_TRUE(errors.contains("served by a running window")) << errors.toStdString();
  EXPECT_EQ(second.state(), QProcess::Running);  // its window goes on
  EXPECT_EQ(SendMacro(Socket(), ""), kAck);      // and the first still serves

  first.terminate();
  ASSERT_TRUE(first.waitForFinished(30000));
  EXPECT_TRUE(first.readAllStandardOutput().isEmpty());  // standard output goes nowhere
}

TEST_F(ProgramTest, EveryArgumentIsAPathNoneIsTakenAsAnOptionOfQt) {
  // Qt would end the program at once for a platform it does not know.
  Start(first, {"-platform", "nosuchplatform", "-stylesheet", FromPath(temp.Path() / "x.qss")});
  ASSERT_TRUE(SocketAnswers()) << first.readAllStandardError().toStdString();
  EXPECT_EQ(first.state(), QProcess::Running);
}

}  // namespace
}  // namespace pictarix::testing
