#include "ui/DdeServer.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include "ui/DdeSocketPath.h"

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

namespace {

#ifdef Q_OS_UNIX

// Only the user who runs the window may send it names.
bool IsSameUser(const QLocalSocket& socket) {
#ifdef SO_PEERCRED
  struct ucred peer {};
  socklen_t size = sizeof peer;
  if (::getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer,
                   &size) != 0) {
    return false;
  }
  return peer.uid == ::geteuid();
#else
  (void)socket;
  return true;  // the private folder keeps everyone else out
#endif
}

enum class TProbe { Live, Dead, NotASocket, Unknown };

// Whether a server listens on the socket file at `path`; never waits.
TProbe ProbeSocket(const sockaddr_un& address) {
  struct stat status {};
  if (::lstat(address.sun_path, &status) != 0)
    return errno == ENOENT ? TProbe::Dead : TProbe::Unknown;
  if (!S_ISSOCK(status.st_mode)) return TProbe::NotASocket;
  const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (probe < 0) return TProbe::Unknown;
  const int result = ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  const int error = errno;
  ::close(probe);
  if (result == 0 || error == EAGAIN || error == EINPROGRESS) return TProbe::Live;
  if (error == ECONNREFUSED || error == ENOENT) return TProbe::Dead;
  return TProbe::Unknown;
}

QString SystemError(const QString& path, const char* what) {
  return path + QStringLiteral(": ") + QString::fromLatin1(what) + QStringLiteral(": ") +
         QString::fromLocal8Bit(std::strerror(errno));
}

#endif

}  // namespace

TDdeServer::TDdeServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
  connect(server_, &QLocalServer::newConnection, this, [this] { AcceptClients(); });
}

TDdeServer::~TDdeServer() {
  // Clients that go with the server end quietly: nothing reaches the server any more.
  for (QLocalSocket* socket : server_->findChildren<QLocalSocket*>()) socket->disconnect();
}

bool TDdeServer::IsServing() const {
  return server_->isListening();
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

#ifdef Q_OS_UNIX

TDdeServer::TAnnounce TDdeServer::Announce(const QString& service, const QString& folder) {
  socketPath_ = folder + QLatin1Char('/') + DdeSocketName(service, kTopic);
  error_.clear();
  const QByteArray encoded = QFile::encodeName(socketPath_);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (encoded.isEmpty() || static_cast<std::size_t>(encoded.size()) >= sizeof address.sun_path) {
    error_ = socketPath_ + QStringLiteral(": the name is too long for a socket");
    return TAnnounce::Failed;
  }
  std::memcpy(address.sun_path, encoded.constData(), static_cast<std::size_t>(encoded.size()));

  // Binding takes the name or fails when it is taken: two windows can never both hold it.
  for (int attempt = 0;; ++attempt) {
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener < 0) {
      error_ = SystemError(socketPath_, "no socket");
      return TAnnounce::Failed;
    }
    if (::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
      // The folder keeps others out already; the socket itself is the user's only as well.
      if (::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(listener, 16) != 0) {
        error_ = SystemError(socketPath_, "cannot listen");
        ::close(listener);
        ::unlink(address.sun_path);
        return TAnnounce::Failed;
      }
      if (!server_->listen(listener)) {
        error_ = socketPath_ + QStringLiteral(": ") + server_->errorString();
        ::close(listener);
        ::unlink(address.sun_path);
        return TAnnounce::Failed;
      }
      return TAnnounce::Serving;
    }
    const int bindError = errno;
    ::close(listener);
    errno = bindError;
    if (bindError != EADDRINUSE || attempt > 0) {
      error_ = SystemError(socketPath_, "cannot be taken");
      return TAnnounce::Failed;
    }
    switch (ProbeSocket(address)) {
      case TProbe::Live:
        error_ = socketPath_ + QStringLiteral(" is served by a running window");
        return TAnnounce::ServedElsewhere;
      case TProbe::NotASocket:
        error_ = socketPath_ + QStringLiteral(" is taken by a file that is no socket");
        return TAnnounce::Failed;
      case TProbe::Unknown:
        error_ = SystemError(socketPath_, "cannot be probed");
        return TAnnounce::Failed;
      case TProbe::Dead:
        // Left behind by a window that ended without closing it.
        if (::unlink(address.sun_path) != 0 && errno != ENOENT) {
          error_ = SystemError(socketPath_, "cannot be removed");
          return TAnnounce::Failed;
        }
        break;
    }
  }
}

#else

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

#endif

void TDdeServer::AcceptClients() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
#ifdef Q_OS_UNIX
    const bool allowed = clients_ < kMaxClients && IsSameUser(*socket);
#else
    const bool allowed = clients_ < kMaxClients;
#endif
    if (!allowed) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    ++clients_;
    connect(socket, &QObject::destroyed, this, [this] { --clients_; });
    new TDdeClient(*this, socket, clientTimeoutMs_);
  }
}

void TDdeServer::Deliver(const QByteArray& text) {
  const QStringList lines = MacroLines(QString::fromUtf8(text));
  if (lines.isEmpty()) return;  // nothing to run (a probe, an empty text)
  // The window runs the macro once the socket's handlers have returned.
  QMetaObject::invokeMethod(
      this, [this, lines] { emit ExecuteMacro(lines); }, Qt::QueuedConnection);
}

}  // namespace pictarix
