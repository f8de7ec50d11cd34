#pragma once
// The local stand-in of the DDE server: a Unix socket in the user's private folder, on which
// another program (a file manager action, a script) sends execute text to the running window.
//
// Wire format: the client sends the text (UTF-8, one path per line) and ends it with a NUL byte
// or by closing; the server answers the one byte 0x80 (acknowledged) whenever it could read the
// text, then closes. Text longer than kMaxTextBytes, a client that has not finished within the
// client time-out (counted from its connection), and a client of another user are dropped
// without an answer. When kMaxClients are served, a new client takes the place of the oldest
// one that has sent nothing yet; only when every place holds a client that is sending is the
// new one turned away.
#include <vector>

#include <QByteArrayList>
#include <QObject>
#include <QString>

#include "ui/intake/SocketClaim.h"

class QLocalServer;
class QLocalSocket;
class QSocketNotifier;

namespace pictarix {

// Execute text split into lines at CR, LF or CR LF. An empty text has no lines; a line break at
// the very end ends the last line without starting another.
QByteArrayList MacroLines(const QByteArray& text);

// The bytes of a name sent as text. Names are sent as UTF-8, but a file name may hold bytes that
// are no UTF-8: such bytes are kept as they came, and a UTF-8 encoded surrogate escape
// (U+DC80 to U+DCFF, as Python's os.fsencode and our JSON output write such a byte) becomes the
// byte it stands for.
QByteArray NameBytes(const QByteArray& text);

class MacroClient;

class MacroServer : public QObject {
  Q_OBJECT

 public:
  static inline const QString kTopic = QStringLiteral("Tarvo");
  static constexpr qsizetype kMaxTextBytes = qsizetype{1} << 20;
  static constexpr int kDefaultClientTimeoutMs = 5000;
  static constexpr int kMaxClients = 16;
  static constexpr char kAcknowledged = '\x80';

  enum class Announcement { Serving, ServedElsewhere, Failed };

  explicit MacroServer(QObject* parent = nullptr);
  ~MacroServer() override;

  // Announces `service` on the topic "Tarvo": takes the socket "<service>.tarvo" in `folder`
  // (ClaimSocket). When the name is taken, a live server there means another window serves it;
  // a dead socket left by a crash is removed and the name taken. The socket file is removed when
  // the server ends, unless another window has taken the name since.
  Announcement Announce(const QString& service, const QString& folder);
  // The same in the user's private socket folder (MacroSocketFolder).
  Announcement Announce(const QString& service);

  bool IsServing() const;
  // The socket's full path once Announce has chosen it.
  const QString& SocketPath() const { return socketPath_; }
  // Why the last Announce does not serve (empty while serving).
  const QString& ErrorText() const { return error_; }
  void SetClientTimeout(int milliseconds) { clientTimeoutMs_ = milliseconds; }
  // Clients holding a place: connected and neither answered nor dropped yet.
  int ClientCount() const { return static_cast<int>(served_.size()); }

 signals:
  // The execute text of one client as lines, each as the bytes of a name (NameBytes); a text
  // without lines sends nothing. Sent after the socket's handlers have returned.
  void ExecuteMacro(const QByteArrayList& lines);

 private:
  void AcceptClients();
  // Whether a new client may be served now, making room by dropping the oldest idle client.
  bool MakeRoom();
  void Serve(QLocalSocket* socket);
  void StopServing();
  void Deliver(const QByteArray& text);
  void Release(MacroClient* client);
  friend class MacroClient;

#ifdef Q_OS_UNIX
  // The listening socket is our own rather than QLocalServer's, which removes the file that
  // bears the name when it closes, whoever's socket that file is by then.
  SocketClaim claim_;
  QSocketNotifier* incoming_ = nullptr;
#else
  QLocalServer* server_ = nullptr;
#endif
  QString socketPath_;
  QString error_;
  int clientTimeoutMs_ = kDefaultClientTimeoutMs;
  // The clients holding a place, oldest connection first.
  std::vector<MacroClient*> served_;
};

}  // namespace pictarix
