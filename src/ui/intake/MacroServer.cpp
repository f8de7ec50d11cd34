#include "ui/intake/MacroServer.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QTimer>

#include "ui/intake/SocketPath.h"

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace pictarix {

QByteArrayList MacroLines(const QByteArray& text) {
  QByteArrayList lines;
  qsizetype at = 0;
  const qsizetype end = text.size();
  while (at < end) {
    const qsizetype start = at;
    while (at < end && text[at] != '\r' && text[at] != '\n') ++at;
    lines.push_back(text.mid(start, at - start));
    if (at < end && text[at] == '\r') ++at;
    if (at < end && text[at] == '\n') ++at;
  }
  return lines;
}

QByteArray NameBytes(const QByteArray& text) {
  // U+DC80..U+DCFF in UTF-8 is ED B2 80..ED B3 BF: the escaped byte is 0x80 plus the low bit of
  // the second byte and the low six bits of the third.
  QByteArray name;
  name.reserve(text.size());
  qsizetype at = 0;
  while (at < text.size()) {
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(text[i]); };
    if (byte(at) == 0xED && at + 2 < text.size() && (byte(at + 1) & 0xFE) == 0xB2 &&
        (byte(at + 2) & 0xC0) == 0x80) {
      name.push_back(
          static_cast<char>(0x80 | ((byte(at + 1) & 0x01) << 6) | (byte(at + 2) & 0x3F)));
      at += 3;
    } else {
      name.push_back(text[at++]);
    }
  }
  return name;
}

// One connected client: collects its text up to the NUL byte or the close, answers, and goes.
// It lives as a child of its socket.
class MacroClient : public QObject {
 public:
  MacroClient(MacroServer& server, QLocalSocket* socket, int timeoutMs)
      : QObject(socket), server_(server), socket_(socket) {
    // Qt reads no further ahead of us than this, so a flood costs no memory.
    socket_->setReadBufferSize(64 * 1024);
    // From the connection on, whatever the client sends meanwhile (timers run on a monotonic
    // clock).
    auto* deadline = new QTimer(this);
    deadline->setSingleShot(true);
    deadline->setTimerType(Qt::PreciseTimer);
    connect(deadline, &QTimer::timeout, this, [this] { Drop(); });
    deadline->start(timeoutMs);
    connect(socket_, &QLocalSocket::readyRead, this, [this] { Read(); });
    connect(socket_, &QLocalSocket::disconnected, this, [this] { Closed(); });
  }

  // Reads what has come already; the client holds its place from now on.
  void Start() { Read(); }

  // Nothing has come from the client yet, also nothing Qt has not read from the socket.
  bool Idle() const {
    if (done_ || !text_.isEmpty() || socket_->bytesAvailable() > 0) return false;
#ifdef Q_OS_UNIX
    char byte = 0;
    const auto fd = static_cast<int>(socket_->socketDescriptor());
    if (fd >= 0 && ::recv(fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) >= 0) return false;
#endif
    return true;
  }

  void Drop() {
    End();
    socket_->abort();
  }

 private:
  void Read() {
    const QByteArray received = socket_->bytesAvailable() > 0 ? socket_->readAll() : QByteArray();
    if (done_) return;  // whatever follows the end of the text is not looked at
    text_ += received;
    const qsizetype end = text_.indexOf('\0');
    if (end > MacroServer::kMaxTextBytes ||
        (end < 0 && text_.size() > MacroServer::kMaxTextBytes)) {
      Drop();
    } else if (end >= 0) {
      text_.truncate(end);
      Finish();
    }
  }

  // A client may also end its text by closing.
  void Closed() {
    Read();  // what came with the close
    if (!done_) Finish();
  }

  // Hands the text on and answers, when the client is still there to hear it.
  void Finish() {
    End();
    server_.Deliver(text_);
    text_.clear();
    if (socket_->state() != QLocalSocket::ConnectedState) return;
    socket_->write(&MacroServer::kAcknowledged, 1);
    socket_->flush();
    socket_->disconnectFromServer();  // once the answer has been written, without waiting
  }

  // The client gives up its place.
  void End() {
    if (done_) return;
    done_ = true;
    server_.Release(this);
  }

  MacroServer& server_;
  QLocalSocket* socket_;
  QByteArray text_;
  bool done_ = false;
};

#ifdef Q_OS_UNIX

namespace {

// Only the user who runs the window may send it names.
bool IsSameUser(int fd) {
#ifdef SO_PEERCRED
  struct ucred peer {};
  socklen_t size = sizeof peer;
  if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) return false;
  return peer.uid == ::geteuid();
#else
  (void)fd;
  return true;  // the private folder keeps everyone else out
#endif
}

}  // namespace

MacroServer::MacroServer(QObject* parent) : QObject(parent) {}

void MacroServer::StopServing() {
  delete incoming_;
  incoming_ = nullptr;
  ReleaseSocket(socketPath_, claim_);
}

bool MacroServer::IsServing() const {
  return claim_.Listener >= 0;
}

MacroServer::Announcement MacroServer::Announce(const QString& service, const QString& folder) {
  StopServing();
  socketPath_ = folder + QLatin1Char('/') + MacroSocketName(service, kTopic);
  switch (ClaimSocket(socketPath_, claim_, error_)) {
    case ClaimResult::Claimed:
      break;
    case ClaimResult::ServedElsewhere:
      return Announcement::ServedElsewhere;
    case ClaimResult::Failed:
      return Announcement::Failed;
  }
  incoming_ = new QSocketNotifier(claim_.Listener, QSocketNotifier::Read, this);
  connect(incoming_, &QSocketNotifier::activated, this, [this] { AcceptClients(); });
  return Announcement::Serving;
}

void MacroServer::AcceptClients() {
  for (;;) {
    const int fd = ::accept4(claim_.Listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;  // no more waiting (or out of descriptors: they stay queued for later)
    }
    if (!IsSameUser(fd) || !MakeRoom()) {
      ::close(fd);
      continue;
    }
    auto* socket = new QLocalSocket(this);
    if (!socket->setSocketDescriptor(fd)) {
      ::close(fd);
      delete socket;
      continue;
    }
    Serve(socket);
  }
}

#else

MacroServer::MacroServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
  connect(server_, &QLocalServer::newConnection, this, [this] { AcceptClients(); });
}

void MacroServer::StopServing() {
  server_->close();
}

bool MacroServer::IsServing() const {
  return server_->isListening();
}

MacroServer::Announcement MacroServer::Announce(const QString& service, const QString& folder) {
  (void)folder;
  socketPath_ = MacroSocketName(service, kTopic);
  error_.clear();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(socketPath_)) {
    error_ = socketPath_ + QStringLiteral(": ") + server_->errorString();
    return server_->serverError() == QAbstractSocket::AddressInUseError ? Announcement::ServedElsewhere
                                                                        : Announcement::Failed;
  }
  return Announcement::Serving;
}

void MacroServer::AcceptClients() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    if (!MakeRoom()) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    Serve(socket);
  }
}

#endif

MacroServer::~MacroServer() {
  // Clients that go with the server end quietly: nothing reaches the server any more.
  for (QLocalSocket* socket : findChildren<QLocalSocket*>()) socket->disconnect();
  StopServing();
}

MacroServer::Announcement MacroServer::Announce(const QString& service) {
  QString error;
  const QString folder = MacroSocketFolder(error);
  if (folder.isEmpty()) {
    error_ = error;
    return Announcement::Failed;
  }
  return Announce(service, folder);
}

bool MacroServer::MakeRoom() {
  if (served_.size() < static_cast<std::size_t>(kMaxClients)) return true;
  // Clients that connect and send nothing cannot keep others out: the oldest of them goes.
  for (MacroClient* client : served_) {
    if (client->Idle()) {
      client->Drop();
      return true;
    }
  }
  return false;
}

void MacroServer::Serve(QLocalSocket* socket) {
  connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  auto* client = new MacroClient(*this, socket, clientTimeoutMs_);
  served_.push_back(client);
  client->Start();
}

void MacroServer::Release(MacroClient* client) {
  std::erase(served_, client);
}

void MacroServer::Deliver(const QByteArray& text) {
  QByteArrayList lines = MacroLines(text);
  for (QByteArray& line : lines) line = NameBytes(line);
  if (lines.isEmpty()) return;  // nothing to run (a probe, an empty text)
  // The window runs the macro once the socket's handlers have returned.
  QMetaObject::invokeMethod(
      this, [this, lines] { emit ExecuteMacro(lines); }, Qt::QueuedConnection);
}

}  // namespace pictarix
