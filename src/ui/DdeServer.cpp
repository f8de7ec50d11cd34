#include "ui/DdeServer.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QTimer>

#include "ui/DdeSocketPath.h"

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace pictarix {

QStringList MacroLines(const QString& text) {
  QStringList lines;
  qsizetype at = 0;
  const qsizetype end = text.size();
  while (at < end) {
    const qsizetype start = at;
    while (at < end && text[at] != QLatin1Char('\r') && text[at] != QLatin1Char('\n')) ++at;
    lines.push_back(text.mid(start, at - start));
    if (at < end && text[at] == QLatin1Char('\r')) ++at;
    if (at < end && text[at] == QLatin1Char('\n')) ++at;
  }
  return lines;
}

// One connected client: collects its text up to the NUL byte or the close, answers, and goes.
// It lives as a child of its socket.
class TDdeClient : public QObject {
 public:
  TDdeClient(TDdeServer& server, QLocalSocket* socket, int timeoutMs)
      : QObject(socket), server_(server), socket_(socket) {
    // Qt reads no further ahead of us than this, so a flood costs no memory.
    socket_->setReadBufferSize(64 * 1024);
    auto* deadline = new QTimer(this);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, [this] { Drop(); });
    deadline->start(timeoutMs);
    connect(socket_, &QLocalSocket::readyRead, this, [this] { Read(); });
    connect(socket_, &QLocalSocket::disconnected, this, [this] { Closed(); });
    Read();
  }

 private:
  void Read() {
    const QByteArray received = socket_->bytesAvailable() > 0 ? socket_->readAll() : QByteArray();
    if (done_) return;  // whatever follows the end of the text is not looked at
    text_ += received;
    const qsizetype end = text_.indexOf('\0');
    if (end > TDdeServer::kMaxTextBytes || (end < 0 && text_.size() > TDdeServer::kMaxTextBytes)) {
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
    done_ = true;
    server_.Deliver(text_);
    text_.clear();
    if (socket_->state() != QLocalSocket::ConnectedState) return;
    socket_->write(&TDdeServer::kAcknowledged, 1);
    socket_->flush();
    socket_->disconnectFromServer();  // once the answer has been written, without waiting
  }

  void Drop() {
    done_ = true;
    socket_->abort();
  }

  TDdeServer& server_;
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

TDdeServer::TDdeServer(QObject* parent) : QObject(parent) {}

void TDdeServer::StopServing() {
  delete incoming_;
  incoming_ = nullptr;
  ReleaseSocket(socketPath_, claim_);
}

bool TDdeServer::IsServing() const {
  return claim_.Listener >= 0;
}

TDdeServer::TAnnounce TDdeServer::Announce(const QString& service, const QString& folder) {
  StopServing();
  socketPath_ = folder + QLatin1Char('/') + DdeSocketName(service, kTopic);
  switch (ClaimSocket(socketPath_, claim_, error_)) {
    case TClaimResult::Claimed:
      break;
    case TClaimResult::ServedElsewhere:
      return TAnnounce::ServedElsewhere;
    case TClaimResult::Failed:
      return TAnnounce::Failed;
  }
  incoming_ = new QSocketNotifier(claim_.Listener, QSocketNotifier::Read, this);
  connect(incoming_, &QSocketNotifier::activated, this, [this] { AcceptClients(); });
  return TAnnounce::Serving;
}

void TDdeServer::AcceptClients() {
  for (;;) {
    const int fd = ::accept4(claim_.Listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      return;  // no more waiting (or out of descriptors: they stay queued for later)
    }
    if (clients_ >= kMaxClients || !IsSameUser(fd)) {
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

TDdeServer::TDdeServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
  connect(server_, &QLocalServer::newConnection, this, [this] { AcceptClients(); });
}

void TDdeServer::StopServing() {
  server_->close();
}

bool TDdeServer::IsServing() const {
  return server_->isListening();
}

TDdeServer::TAnnounce TDdeServer::Announce(const QString& service, const QString& folder) {
  (void)folder;
  socketPath_ = DdeSocketName(service, kTopic);
  error_.clear();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(socketPath_)) {
    error_ = socketPath_ + QStringLiteral(": ") + server_->errorString();
    return server_->serverError() == QAbstractSocket::AddressInUseError ? TAnnounce::ServedElsewhere
                                                                        : TAnnounce::Failed;
  }
  return TAnnounce::Serving;
}

void TDdeServer::AcceptClients() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    if (clients_ >= kMaxClients) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    Serve(socket);
  }
}

#endif

TDdeServer::~TDdeServer() {
  // Clients that go with the server end quietly: nothing reaches the server any more.
  for (QLocalSocket* socket : findChildren<QLocalSocket*>()) socket->disconnect();
  StopServing();
}

TDdeServer::TAnnounce TDdeServer::Announce(const QString& service) {
  QString error;
  const QString folder = DdeSocketFolder(error);
  if (folder.isEmpty()) {
    error_ = error;
    return TAnnounce::Failed;
  }
  return Announce(service, folder);
}

void TDdeServer::Serve(QLocalSocket* socket) {
  connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
  ++clients_;
  connect(socket, &QObject::destroyed, this, [this] { --clients_; });
  new TDdeClient(*this, socket, clientTimeoutMs_);
}

void TDdeServer::Deliver(const QByteArray& text) {
  const QStringList lines = MacroLines(QString::fromUtf8(text));
  if (lines.isEmpty()) return;  // nothing to run (a probe, an empty text)
  // The window runs the macro once the socket's handlers have returned.
  QMetaObject::invokeMethod(
      this, [this, lines] { emit ExecuteMacro(lines); }, Qt::QueuedConnection);
}

}  // namespace pictarix
