#pragma once
// The local stand-in of the DDE server: a Unix socket in the user's private folder, on which
// another program (a file manager action, a script) sends execute text to the running window.
//
// Wire format: the client sends the text (UTF-8, one path per line) and ends it with a NUL byte
// or by closing; the server answers the one byte 0x80 (acknowledged) whenever it could read the
// text, then closes. Text longer than kMaxTextBytes, a client that has not finished within the
// client time-out, and a client of another user are dropped without an answer.
#include <QObject>
#include <QString>
#include <QStringList>

#include "ui/DdeSocketClaim.h"

class QLocalServer;
class QLocalSocket;
class QSocketNotifier;

namespace pictarix {

// Execute text split into lines at CR, LF or CR LF. An empty text has no lines; a line break at
// the very end ends the last line without starting another.
QStringList MacroLines(const QString& text);

class TDdeServer : public QObject {
  Q_OBJECT

 public:
  static inline const QString kTopic = QStringLiteral("Tarvo");
  static constexpr qsizetype kMaxTextBytes = qsizetype{1} << 20;
  static constexpr int kDefaultClientTimeoutMs = 5000;
  static constexpr int kMaxClients = 16;
  static constexpr char kAcknowledged = '\x80';

  enum class TAnnounce { Serving, ServedElsewhere, Failed };

  explicit TDdeServer(QObject* parent = nullptr);
  ~TDdeServer() override;

  // Announces `service` on the topic "Tarvo": takes the socket "<service>.tarvo" in `folder`
  // (ClaimSocket). When the name is taken, a live server there means another window serves it;
  // a dead socket left by a crash is removed and the name taken. The socket file is removed when
  // the server ends, unless another window has taken the name since.
  TAnnounce Announce(const QString& service, const QString& folder);
  // The same in the user's private socket folder (DdeSocketFolder).
  TAnnounce Announce(const QString& service);

  bool IsServing() const;
  // The socket's full path once Announce has chosen it.
  const QString& SocketPath() const { return socketPath_; }
  // Why the last Announce does not serve (empty while serving).
  const QString& ErrorText() const { return error_; }
  void SetClientTimeout(int milliseconds) { clientTimeoutMs_ = milliseconds; }
  int ClientCount() const { return clients_; }

 signals:
  // The execute text of one client as lines (a text without lines sends nothing), sent after the
  // socket's handlers have returned.
  void ExecuteMacro(const QStringList& lines);

 private:
  void AcceptClients();
  void Serve(QLocalSocket* socket);
  void StopServing();
  void Deliver(const QByteArray& text);
  friend class TDdeClient;

#ifdef Q_OS_UNIX
  // The listening socket is our own rather than QLocalServer's, which removes the file that
  // bears the name when it closes, whoever's socket that file is by then.
  TSocketClaim claim_;
  QSocketNotifier* incoming_ = nullptr;
#else
  QLocalServer* server_ = nullptr;
#endif
  QString socketPath_;
  QString error_;
  int clientTimeoutMs_ = kDefaultClientTimeoutMs;
  int clients_ = 0;
};

}  // namespace pictarix
