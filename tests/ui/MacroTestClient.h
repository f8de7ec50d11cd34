#pragma once
// Clients of the DDE stand-in's socket for tests. A client runs on a thread of its own with
// blocking calls, while the test's thread keeps the window's event loop turning, as a separate
// program would.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <string>
#include <thread>

#include <QCoreApplication>
#include <QFile>
#include <QString>

namespace pictarix::testing {

// Turns the event loop until `done` is true or `limit` has passed.
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// Handles events that are already posted (queued calls, the macros of finished clients).
inline void PumpPending() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// Runs `client` on its own thread and turns the event loop until it has finished.
template <class Client>
auto WhileServing(Client client) {
  auto result = std::async(std::launch::async, std::move(client));
  PumpUntil([&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
            std::chrono::seconds(60));
  return result.get();
}

// A connected client socket; -1 when the connection failed.
inline int ConnectTo(const QString& path) {
  const QByteArray encoded = QFile::encodeName(path);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (static_cast<std::size_t>(encoded.size()) >= sizeof address.sun_path) return -1;
  std::memcpy(address.sun_path, encoded.constData(), static_cast<std::size_t>(encoded.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  timeval wait{10, 0};  // a server that never answers fails the test instead of hanging it
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
  return fd;
}

inline bool SendAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

// What the server sent until it closed ("timeout" when it neither answered nor closed).
inline std::string ReadToEnd(int fd) {
  std::string reply;
  char buffer[64];
  for (;;) {
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n > 0) {
      reply.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno == ECONNRESET) {
      return reply;
    } else {
      return reply + "timeout";
    }
  }
}

enum class TEnd { Nul, HalfClose };

// Sends `text` ended by a NUL byte (or by shutting down the sending side) and returns the answer.
inline std::string SendMacro(const QString& path, const std::string& text, TEnd end = TEnd::Nul) {
  const int fd = ConnectTo(path);
  if (fd < 0) return "no connection";
  bool sent = SendAll(fd, end == TEnd::Nul ? text + std::string(1, '\0') : text);
  if (end == TEnd::HalfClose) sent = sent && ::shutdown(fd, SHUT_WR) == 0;
  std::string reply = ReadToEnd(fd);
  ::close(fd);
  return sent ? reply : "send failed: " + reply;
}

inline const std::string kAck(1, '\x80');

}  // namespace pictarix::testing
