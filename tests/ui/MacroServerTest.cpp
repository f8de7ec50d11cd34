// The DDE stand-in: execute text into lines, the private socket folder, taking the socket name
// (live and dead holders), and the wire format with its limits.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <optional>
#include <thread>

#include <QSignalSpy>

#include "support/TempDir.h"
#include "ui/FakeDialogs.h"
#include "ui/MacroTestClient.h"
#include "ui/intake/MacroServer.h"
#include "ui/intake/SocketClaim.h"
#include "ui/intake/SocketPath.h"
#include "ui/window/QtPaths.h"

namespace pictarix::testing {
namespace {

TEST(MacroLinesTest, SplitsAtCrLfOrBothAndKeepsBlankLines) {
  struct Row {
    QByteArray text;
    QByteArrayList lines;
  };
  const Row rows[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},  // LF CR is two breaks
      {"\n", {""}},
      {"\"/x y\"\n", {"\"/x y\""}},
  };
  for (const Row& row : rows) EXPECT_EQ(MacroLines(row.text), row.lines) << row.text.toStdString();
}

TEST(NameBytesTest, BytesThatAreNoUtf8ArriveAsTheyCameOrFromTheirSurrogateEscapes) {
  struct Row {
    QByteArray text;
    QByteArray name;
  };
  const Row rows[] = {
      {"/a\xC3\xA4\xE2\x82\xAC", "/a\xC3\xA4\xE2\x82\xAC"},  // UTF-8 stays as it is
      {"/x\xFF\xC3", "/x\xFF\xC3"},                          // no UTF-8: kept raw
      {"/x\xED\xB3\xBF.ico", "/x\xFF.ico"},                  // U+DCFF
      {"\xED\xB2\x80\xED\xB3\x80", "\x80\xC0"},              // U+DC80, U+DCC0
      {"\xED\x9F\xBF\xED\xB2", "\xED\x9F\xBF\xED\xB2"},      // U+D7FF and a cut escape stay
  };
  for (const Row& row : rows) EXPECT_EQ(NameBytes(row.text), row.name) << row.text.toHex().data();
}

TEST(MacroSocketPathTest, ServiceIsTheFileNameCutBeforeItsFirstDot) {
  EXPECT_EQ(MacroServiceName("/usr/bin/pictarix"), "pictarix");
  EXPECT_EQ(MacroServiceName("/opt/tools.d/Pictarix.exe"), "Pictarix");
  EXPECT_EQ(MacroServiceName("/x/pictarix.tar.gz"), "pictarix");
  EXPECT_EQ(MacroSocketName("Pictarix", "Tarvo"), "pictarix.tarvo");
}

// Sets an environment variable for one test.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<QString>& value) : name_(name) {
    if (qEnvironmentVariableIsSet(name)) old_ = qEnvironmentVariable(name);
    Set(value);
  }
  ~ScopedEnv() { Set(old_); }

 private:
  void Set(const std::optional<QString>& value) {
    if (value) {
      qputenv(name_, value->toLocal8Bit());
    } else {
      qunsetenv(name_);
    }
  }
  const char* name_;
  std::optional<QString> old_;
};

mode_t ModeOf(const QString& path) {
  struct stat status {};
  if (::lstat(QFile::encodeName(path).constData(), &status) != 0) return 0;
  return status.st_mode;
}

ino_t InodeOf(const QString& path) {
  struct stat status {};
  if (::lstat(QFile::encodeName(path).constData(), &status) != 0) return 0;
  return status.st_ino;
}

class MacroSocketFolderTest : public ::testing::Test {
 protected:
  TempDir temp;
  QString Root() const { return FromPath(temp.Path()); }
};

TEST_F(MacroSocketFolderTest, RuntimeFolderGetsAPrivateSubfolder) {
  ScopedEnv runtime("XDG_RUNTIME_DIR", Root());
  QString error;
  const QString folder = MacroSocketFolder(error);
  EXPECT_EQ(folder, Root() + "/pictarix") << error.toStdString();
  EXPECT_EQ(ModeOf(folder) & 07777, 0700u);
  EXPECT_EQ(MacroSocketFolder(error), folder);  // an existing private folder is used again
}

TEST_F(MacroSocketFolderTest, WithoutRuntimeFolderAUserFolderInTheTemporaryFolder) {
  ScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
  ScopedEnv tmp("TMPDIR", Root());
  QString error;
  EXPECT_EQ(MacroSocketFolder(error), Root() + "/pictarix-" + QString::number(::geteuid()))
      << error.toStdString();
}

TEST_F(MacroSocketFolderTest, FoldersOthersCouldEnterOrRedirectAreRefused) {
  ScopedEnv runtime("XDG_RUNTIME_DIR", Root());
  const QString folder = Root() + "/pictarix";
  QString error;

  ASSERT_EQ(::mkdir(QFile::encodeName(folder).constData(), 0755), 0);
  ::chmod(QFile::encodeName(folder).constData(), 0755);
  EXPECT_TRUE(MacroSocketFolder(error).isEmpty());
  EXPECT_TRUE(error.contains("open to other users")) << error.toStdString();
  ::rmdir(QFile::encodeName(folder).constData());

  // A link, even to a private folder, is not used.
  const QString elsewhere = Root() + "/elsewhere";
  ASSERT_EQ(::mkdir(QFile::encodeName(elsewhere).constData(), 0700), 0);
  ASSERT_EQ(::symlink("elsewhere", QFile::encodeName(folder).constData()), 0);
  EXPECT_TRUE(MacroSocketFolder(error).isEmpty());
  EXPECT_TRUE(error.contains("is not a folder")) << error.toStdString();

  ScopedEnv relative("XDG_RUNTIME_DIR", QString("run/user"));
  EXPECT_TRUE(MacroSocketFolder(error).isEmpty());
}

TEST_F(MacroSocketFolderTest, AFolderOfAnotherUserIsRefused) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a folder away";
  ScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
  ScopedEnv tmp("TMPDIR", Root());
  const QByteArray folder = QFile::encodeName(Root() + "/pictarix-0");
  ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
  ASSERT_EQ(::chown(folder.constData(), 65534, 65534), 0);
  QString error;
  EXPECT_TRUE(MacroSocketFolder(error).isEmpty());
  EXPECT_TRUE(error.contains("belongs to another user")) << error.toStdString();
}

class MacroServerTest : public ::testing::Test {
 protected:
  QString Folder() const { return FromPath(temp.Path()); }
  QString SocketFile() const { return Folder() + "/pictarix.tarvo"; }
  // The lines of every macro the server has delivered.
  std::vector<QStringList> Macros() {
    PumpPending();
    std::vector<QStringList> macros;
    for (const QList<QVariant>& call : *spy) {
      QStringList lines;
      for (const QByteArray& line : call.at(0).value<QByteArrayList>())
        lines.push_back(QString::fromUtf8(line));
      macros.push_back(lines);
    }
    return macros;
  }
  void Serve(MacroServer& server) {
    ASSERT_EQ(server.Announce("Pictarix", Folder()), MacroServer::Announcement::Serving)
        << server.ErrorText().toStdString();
    spy.emplace(&server, &MacroServer::ExecuteMacro);
  }

  TempDir temp;
  std::optional<QSignalSpy> spy;
};

TEST_F(MacroServerTest, AnnouncesAUserOnlySocketAndRemovesItWhenItEnds) {
  {
    MacroServer server;
    Serve(server);
    EXPECT_TRUE(server.IsServing());
    EXPECT_EQ(server.SocketPath(), SocketFile());
    EXPECT_TRUE(S_ISSOCK(ModeOf(SocketFile())));
    EXPECT_EQ(ModeOf(SocketFile()) & 0777, 0600u);
  }
  EXPECT_EQ(ModeOf(SocketFile()), 0u);
}

TEST_F(MacroServerTest, AnswersEveryTextItReadsAndHandsOnItsLines) {
  MacroServer server;
  Serve(server);
  const QString path = server.SocketPath();
  EXPECT_EQ(WhileServing([&] { return SendMacro(path, "/a\r\n\"/b c\"\r\n"); }), kAck);
  // Text after the NUL byte is not part of the macro.
  EXPECT_EQ(WhileServing([&] { return SendMacro(path, std::string("/d\0/e", 5)); }), kAck);
  EXPECT_EQ(WhileServing([&] { return SendMacro(path, ""); }), kAck);
  // UTF-8 names stay Unicode.
  EXPECT_EQ(WhileServing([&] { return SendMacro(path, "/\xC3\xA4\xE2\x82\xAC"); }), kAck);
  const std::vector<QStringList> expected{
      {"/a", "\"/b c\""}, {"/d"}, {QString::fromUtf8("/\xC3\xA4\xE2\x82\xAC")}};
  EXPECT_EQ(Macros(), expected);
  EXPECT_EQ(server.ClientCount(), 0);
}

TEST_F(MacroServerTest, AClientMayEndItsTextByClosing) {
  MacroServer server;
  Serve(server);
  const QString path = server.SocketPath();
  // Having closed its sending side, the client is gone for the server: nobody is left to answer.
  const std::string reply =
      WhileServing([&] { return SendMacro(path, "/closed\n", TEnd::HalfClose); });
  EXPECT_TRUE(reply.empty() || reply == kAck) << reply;
  PumpUntil([&] { return spy->size() == 1; }, std::chrono::seconds(5));
  WhileServing([&] {
    const int fd = ConnectTo(path);
    SendAll(fd, "/gone");
    ::close(fd);
    return 0;
  });
  // Texts of different clients are handed on as each ends: wait for this one before the next.
  PumpUntil([&] { return spy->size() == 2; }, std::chrono::seconds(5));
  // A client gone before the answer costs the window nothing (no SIGPIPE).
  WhileServing([&] {
    const int fd = ConnectTo(path);
    SendAll(fd, std::string("/quick\0", 7));
    ::close(fd);
    return 0;
  });
  PumpUntil([&] { return spy->size() == 3; }, std::chrono::seconds(5));
  EXPECT_EQ(Macros(), (std::vector<QStringList>{{"/closed"}, {"/gone"}, {"/quick"}}));
}

TEST_F(MacroServerTest, TextUpToOneMebibyteIsReadLongerTextIsRefused) {
  MacroServer server;
  Serve(server);
  const QString path = server.SocketPath();
  const std::string largest(MacroServer::kMaxTextBytes, 'a');
  EXPECT_EQ(WhileServing([&] { return SendMacro(path, largest); }), kAck);
  const std::string reply = WhileServing([&] { return SendMacro(path, largest + "a"); });
  EXPECT_EQ(reply.find('\x80'), std::string::npos) << "an oversized text is not acknowledged";
  EXPECT_EQ(reply.find("timeout"), std::string::npos) << "the server drops the client at once";
  const std::vector<QStringList> macros = Macros();
  ASSERT_EQ(macros.size(), 1u);
  EXPECT_EQ(macros[0].at(0).size(), MacroServer::kMaxTextBytes);
}

TEST_F(MacroServerTest, AStalledClientIsDroppedWhileOthersAreServed) {
  MacroServer server;
  server.SetClientTimeout(300);
  Serve(server);
  const QString path = server.SocketPath();
  const auto started = std::chrono::steady_clock::now();
  auto stalled = std::async(std::launch::async, [&] {
    const int fd = ConnectTo(path);
    SendAll(fd, "/never/ended");  // no NUL, no close
    std::string reply = ReadToEnd(fd);
    ::close(fd);
    return reply;
  });
  // The window goes on serving others meanwhile.
  EXPECT_EQ(WhileServing([&] { return SendMacro(path, "/other"); }), kAck);
  std::string stalledReply;
  PumpUntil([&] { return stalled.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
  stalledReply = stalled.get();
  EXPECT_EQ(stalledReply, "");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(8));
  EXPECT_EQ(Macros(), std::vector<QStringList>{{"/other"}});
}

TEST_F(MacroServerTest, IdleClientsMakeRoomForNewOnesSendingClientsKeepTheirPlace) {
  MacroServer server;
  Serve(server);
  const QString path = server.SocketPath();
  char byte = 0;
  const auto closedByServer = [&](int fd) {
    return PumpUntil([&] { return ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0; },
                     std::chrono::seconds(5));
  };
  std::vector<int> idle;
  for (int i = 0; i <= MacroServer::kMaxClients; ++i) idle.push_back(ConnectTo(path));
  // The oldest idle client goes; the newest holds a place.
  EXPECT_TRUE(closedByServer(idle.front()));
  EXPECT_EQ(server.ClientCount(), MacroServer::kMaxClients);
  EXPECT_EQ(::recv(idle.back(), &byte, 1, MSG_DONTWAIT), -1);
  // Probes keep getting in while idle clients hold every place.
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(WhileServing([&] { return SendMacro(path, "/probe"); }), kAck);
  for (int fd : idle) ::close(fd);
  PumpUntil([&] { return server.ClientCount() == 0; });

  // Clients in the middle of their text keep their places: a newcomer is turned away.
  std::vector<int> sending;
  for (int i = 0; i < MacroServer::kMaxClients; ++i) {
    sending.push_back(ConnectTo(path));
    SendAll(sending.back(), "/part");
  }
  PumpUntil([&] { return server.ClientCount() == MacroServer::kMaxClients; });
  const int late = ConnectTo(path);
  EXPECT_TRUE(closedByServer(late));
  EXPECT_EQ(::recv(sending.front(), &byte, 1, MSG_DONTWAIT), -1);
  for (int fd : sending) ::close(fd);
  ::close(late);
  PumpUntil([&] { return server.ClientCount() == 0; });
  EXPECT_EQ(server.ClientCount(), 0);
}

TEST_F(MacroServerTest, ALiveServerKeepsItsNameADeadSocketIsReplaced) {
  MacroServer first;
  Serve(first);
  MacroServer second;
  EXPECT_EQ(second.Announce("pictarix", Folder()), MacroServer::Announcement::ServedElsewhere);
  EXPECT_TRUE(second.ErrorText().contains("served by a running window"));
  EXPECT_FALSE(second.IsServing());
  // The probe is no macro, and the first server still answers.
  EXPECT_EQ(WhileServing([&] { return SendMacro(first.SocketPath(), "/x"); }), kAck);
  EXPECT_EQ(Macros(), std::vector<QStringList>{{"/x"}});
}

TEST_F(MacroServerTest, ASocketLeftByACrashIsRemovedAndTheNameTaken) {
  {
    // A socket file without a listener, as a window that crashed leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(SocketFile());
    std::memcpy(address.sun_path, encoded.constData(), static_cast<std::size_t>(encoded.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
  }
  ASSERT_TRUE(S_ISSOCK(ModeOf(SocketFile())));
  MacroServer server;
  Serve(server);
  EXPECT_EQ(WhileServing([&] { return SendMacro(server.SocketPath(), "/y"); }), kAck);
}

TEST_F(MacroServerTest, AServerEndingLeavesASocketThatIsNoLongerItsOwn) {
  auto first = std::make_unique<MacroServer>();
  Serve(*first);
  // The name is taken over: the first server's file is gone and a second server binds anew.
  ASSERT_EQ(::unlink(QFile::encodeName(SocketFile()).constData()), 0);
  MacroServer second;
  Serve(second);
  const ino_t taken = InodeOf(SocketFile());
  first.reset();
  EXPECT_EQ(InodeOf(SocketFile()), taken);
  EXPECT_EQ(WhileServing([&] { return SendMacro(second.SocketPath(), "/z"); }), kAck);
}

TEST_F(MacroServerTest, OfFifteenClaimingAtOnceExactlyOneServes) {
  constexpr int kWindows = 15;
  std::vector<SocketClaim> claims(kWindows);
  std::vector<ClaimResult> results(kWindows);
  std::atomic<int> ready{0};
  std::vector<std::thread> windows;
  for (int i = 0; i < kWindows; ++i) {
    windows.emplace_back([&, i] {
      ++ready;
      while (ready < kWindows) std::this_thread::yield();
      QString error;
      results[i] = ClaimSocket(SocketFile(), claims[i], error);
    });
  }
  for (std::thread& window : windows) window.join();
  const auto winner = std::find(results.begin(), results.end(), ClaimResult::Claimed);
  ASSERT_NE(winner, results.end());
  EXPECT_EQ(std::count(results.begin(), results.end(), ClaimResult::ServedElsewhere), kWindows - 1);
  SocketClaim& served = claims[static_cast<std::size_t>(winner - results.begin())];
  EXPECT_EQ(InodeOf(SocketFile()), served.Inode);
  for (SocketClaim& claim : claims) ReleaseSocket(SocketFile(), claim);
  EXPECT_EQ(ModeOf(SocketFile()), 0u);  // the one that served removed its own
}

TEST_F(MacroServerTest, AFileThatIsNoSocketIsLeftAlone) {
  std::ofstream(temp.Path() / "pictarix.tarvo") << "keep";
  MacroServer server;
  EXPECT_EQ(server.Announce("pictarix", Folder()), MacroServer::Announcement::Failed);
  EXPECT_FALSE(server.IsServing());
  std::ifstream kept(temp.Path() / "pictarix.tarvo");
  std::string text;
  kept >> text;
  EXPECT_EQ(text, "keep");

  const QString deep = Folder() + "/" + QString(120, 'd');
  EXPECT_EQ(server.Announce("pictarix", deep), MacroServer::Announcement::Failed);
  EXPECT_TRUE(server.ErrorText().contains("too long"));
}

TEST_F(MacroServerTest, ClientsOfAnotherUserAreTurnedAway) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to connect as another user";
  MacroServer server;
  Serve(server);
  // Open the way in, as a careless folder would, so that only the server's own check remains.
  ::chmod(QFile::encodeName(Folder()).constData(), 0711);
  ::chmod(QFile::encodeName(SocketFile()).constData(), 0666);
  const QString path = server.SocketPath();
  const int status = WhileServing([&] {
    const pid_t child = ::fork();
    if (child == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
      const int fd = ConnectTo(path);
      if (fd < 0) ::_exit(4);
      SendAll(fd, std::string("/intruder\0", 10));
      char byte = 0;
      const ssize_t n = ::recv(fd, &byte, 1, 0);
      ::_exit(n == 0 || (n < 0 && errno == ECONNRESET) ? 0 : 5);
    }
    int result = -1;
    ::waitpid(child, &result, 0);
    return result;
  });
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the other user's client was answered";
  EXPECT_TRUE(Macros().empty());
}

}  // namespace
}  // namespace pictarix::testing
