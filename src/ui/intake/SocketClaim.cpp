#include "ui/intake/SocketClaim.h"

#include <chrono>
#include <filesystem>
#include <optional>

#include <QFile>

#include "os/Errors.h"
#include "os/FileLock.h"

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace pictarix {

#ifdef Q_OS_UNIX

namespace {

// Taking or giving back a name takes a few system calls; a window that holds the folder longer
// has stopped, and the others go on without waiting for it.
constexpr std::chrono::milliseconds kLockWait{5000};

QString SystemError(const QString& path, const char* what) {
  return path + QStringLiteral(": ") + QString::fromLatin1(what) + QStringLiteral(": ") +
         QString::fromLocal8Bit(std::strerror(errno));
}

std::filesystem::path FolderOf(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString()).parent_path();
}

enum class Probe { Live, Dead, NotASocket, Unknown };

// Whether a server listens on the socket file at `path`; never waits.
Probe ProbeSocket(const sockaddr_un& address) {
  struct stat status {};
  if (::lstat(address.sun_path, &status) != 0)
    return errno == ENOENT ? Probe::Dead : Probe::Unknown;
  if (!S_ISSOCK(status.st_mode)) return Probe::NotASocket;
  const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (probe < 0) return Probe::Unknown;
  const int result = ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  const int error = errno;
  ::close(probe);
  if (result == 0 || error == EAGAIN || error == EINPROGRESS) return Probe::Live;
  if (error == ECONNREFUSED || error == ENOENT) return Probe::Dead;
  return Probe::Unknown;
}

// Binds, records which file names the socket, and listens; -1 with errno on failure.
int Listen(const sockaddr_un& address, SocketClaim& claim, QString& error, const QString& path) {
  const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listener < 0) {
    error = SystemError(path, "no socket");
    return -1;
  }
  if (::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const int bindError = errno;
    ::close(listener);
    errno = bindError;
    error = SystemError(path, "cannot be taken");
    return -1;
  }
  struct stat status {};
  // The folder keeps others out already; the socket itself is the user's only as well. The
  // queue of connections not yet accepted is long, so a burst of clients waits there instead of
  // being refused before the window has looked at them (it accepts them all at once).
  if (::lstat(address.sun_path, &status) != 0 ||
      ::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(listener, SOMAXCONN) != 0) {
    error = SystemError(path, "cannot listen");
    ::close(listener);
    ::unlink(address.sun_path);
    errno = 0;
    return -1;
  }
  claim.Device = status.st_dev;
  claim.Inode = status.st_ino;
  return listener;
}

}  // namespace

ClaimResult ClaimSocket(const QString& path, SocketClaim& claim, QString& error) {
  error.clear();
  const QByteArray encoded = QFile::encodeName(path);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (encoded.isEmpty() || static_cast<std::size_t>(encoded.size()) >= sizeof address.sun_path) {
    error = path + QStringLiteral(": the name is too long for a socket");
    return ClaimResult::Failed;
  }
  std::memcpy(address.sun_path, encoded.constData(), static_cast<std::size_t>(encoded.size()));

  // Between another window's bind and its listen, its socket would look dead to a probe.
  std::optional<FileLock> lock;
  try {
    lock.emplace(FolderOf(path), kLockWait);
  } catch (const PictarixError&) {
    error = path + QStringLiteral(": another window keeps the socket folder locked");
    return ClaimResult::Failed;
  }
  for (int attempt = 0;; ++attempt) {
    claim.Listener = Listen(address, claim, error, path);
    if (claim.Listener >= 0) return ClaimResult::Claimed;
    if (errno != EADDRINUSE || attempt > 0) return ClaimResult::Failed;
    switch (ProbeSocket(address)) {
      case Probe::Live:
        error = path + QStringLiteral(" is served by a running window");
        return ClaimResult::ServedElsewhere;
      case Probe::NotASocket:
        error = path + QStringLiteral(" is taken by a file that is no socket");
        return ClaimResult::Failed;
      case Probe::Unknown:
        error = SystemError(path, "cannot be probed");
        return ClaimResult::Failed;
      case Probe::Dead:
        // Left behind by a window that ended without removing it.
        if (::unlink(address.sun_path) != 0 && errno != ENOENT) {
          error = SystemError(path, "cannot be removed");
          return ClaimResult::Failed;
        }
        break;
    }
  }
}

void ReleaseSocket(const QString& path, SocketClaim& claim) {
  if (claim.Listener < 0) return;
  try {
    const FileLock lock(FolderOf(path), kLockWait);
    const QByteArray encoded = QFile::encodeName(path);
    struct stat status {};
    if (::lstat(encoded.constData(), &status) == 0 && status.st_dev == claim.Device &&
        status.st_ino == claim.Inode) {
      ::unlink(encoded.constData());
    }
  } catch (const PictarixError&) {
    // Left in place: without a listener, the next window's probe finds it dead and replaces it.
  }
  ::close(claim.Listener);
  claim = SocketClaim{};
}

#else

ClaimResult ClaimSocket(const QString& path, SocketClaim&, QString& error) {
  error = path + QStringLiteral(": Unix sockets are not available");
  return ClaimResult::Failed;
}

void ReleaseSocket(const QString&, SocketClaim&) {}

#endif

}  // namespace pictarix
