#include "os/SafeLink.h"

#include <cerrno>
#include <random>
#include <string>
#include <system_error>

#include "os/Errors.h"
#include "os/OutputPath.h"

#ifndef _WIN32
#include <unistd.h>
#include <cstdio>
#endif

namespace pictarix {

namespace {

[[noreturn]] void ThrowLinkError(const std::filesystem::path& link, const std::string& reason) {
  throw FCreateError("Cannot create file \"" + link.string() + "\". " + reason);
}

// A hidden name in the link's folder for the new link before its rename.
std::filesystem::path HiddenLinkName(const std::filesystem::path& folder, const std::string& name) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 random{std::random_device{}()};
  std::string hidden = "." + name.substr(0, 200) + ".";
  for (int i = 0; i < 8; ++i) hidden += kLetters[random() % (sizeof kLetters - 1)];
  return folder / hidden;
}

constexpr int kAttempts = 100;  // hidden names tried before giving up

}  // namespace

void ReplaceWithLink(const std::filesystem::path& link, std::string_view pointsTo) {
  const std::string name = link.filename().string();
  if (name.empty() || name == "." || name == "..") ThrowLinkError(link, "Not a file name.");
  const std::filesystem::path folder = ResolveOutputPath(
      link.parent_path().empty() ? std::filesystem::path(".") : link.parent_path());
  const std::filesystem::path target = folder / name;
  std::error_code error;
  if (std::filesystem::is_directory(std::filesystem::symlink_status(target, error))) {
    ThrowLinkError(link, "A folder has that name.");
  }
  const std::string text(pointsTo);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::filesystem::path hidden = HiddenLinkName(folder, name);
#ifndef _WIN32
    if (::symlink(text.c_str(), hidden.c_str()) != 0) {
      if (errno == EEXIST) continue;
      ThrowLinkError(link, SystemErrorText(errno));
    }
    if (std::rename(hidden.c_str(), target.c_str()) != 0) {
      const int renameError = errno;
      ::unlink(hidden.c_str());
      ThrowLinkError(link, SystemErrorText(renameError));
    }
#else
    std::filesystem::create_symlink(text, hidden, error);
    if (error) ThrowLinkError(link, error.message());
    std::filesystem::rename(hidden, target, error);
    if (error) {
      std::filesystem::remove(hidden);
      ThrowLinkError(link, error.message());
    }
#endif
    return;
  }
  ThrowLinkError(link, "No hidden name was free beside it.");
}

}  // namespace pictarix
