#pragma once
// Taking and giving back the name of the DDE stand-in's socket, so that of any number of windows
// started at once exactly one serves, and no window removes a socket that is not its own.
#include <cstdint>

#include <QString>

namespace pictarix {

// A socket name held by this process: its listening socket and the file that names it.
struct SocketClaim {
  int Listener = -1;
  std::uint64_t Device = 0;
  std::uint64_t Inode = 0;
};

enum class ClaimResult { Claimed, ServedElsewhere, Failed };

// Binds and listens on the Unix socket at `path` (in a private folder). A name held by a live
// server is left to it (ServedElsewhere); a socket no server listens on, left by a window that
// crashed, is removed and the name taken. The folder is locked meanwhile, so a socket seen
// without a server is never one another window has just bound. `error` says why when the name
// is not claimed.
ClaimResult ClaimSocket(const QString& path, SocketClaim& claim, QString& error);

// Stops listening and removes the socket file, but only when `path` still names the socket this
// claim made (another window may have taken the name since). Does nothing for an empty claim.
void ReleaseSocket(const QString& path, SocketClaim& claim);

}  // namespace pictarix
