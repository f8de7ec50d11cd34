#include "os/OutputPath.h"

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

#include "os/Errors.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace pictarix {

namespace {

constexpr int kMaxLinks = 40;  // as the kernel allows in one path

[[noreturn]] void Refuse(const std::filesystem::path& target, const std::string& reason) {
  throw FCreateError("Cannot create file \"" + target.string() + "\". " + reason);
}

#ifndef _WIN32

// A link in a folder that everyone may write to and that keeps others from removing names
// (sticky) could have been planted by anyone; it is trusted only from the user running or the
// folder's owner.
bool MayFollow(const struct stat& folder, const struct stat& link) {
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  return !shared || link.st_uid == ::geteuid() || link.st_uid == folder.st_uid;
}

// Pushes the names of `path` so that the first is taken next.
void PushNames(const std::filesystem::path& path, std::vector<std::string>& pending) {
  std::vector<std::string> names;
  for (const auto& name : path.relative_path()) names.push_back(name.string());
  pending.insert(pending.end(), names.rbegin(), names.rend());
}

#endif

}  // namespace

std::filesystem::path ResolveOutputPath(const std::filesystem::path& target) {
#ifdef _WIN32
  return target;
#else
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(target, error);
  if (error) Refuse(target, SystemErrorText(error.value()));

  // The path is walked name by name from the root, as the kernel walks it, so that a link
  // anywhere in it (not only the last name) is judged by the folder that holds it.
  std::vector<std::string> pending;
  PushNames(absolute, pending);
  std::filesystem::path resolved = "/";
  int links = 0;
  while (!pending.empty()) {
    const std::string name = pending.back();
    pending.pop_back();
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      resolved = resolved.parent_path();  // `resolved` holds no links, so ".." is its parent
      continue;
    }
    const std::filesystem::path next = resolved / name;
    struct stat link {};
    if (::lstat(next.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
      resolved = next;  // a name still to be made, or no link
      continue;
    }
    struct stat folder {};
    if (::stat(resolved.c_str(), &folder) != 0) Refuse(target, SystemErrorText(errno));
    if (!MayFollow(folder, link)) {
      Refuse(target, "The symbolic link \"" + next.string() +
                         "\" belongs to another user in a folder shared by all users; it is not "
                         "followed");
    }
    if (++links > kMaxLinks) Refuse(target, SystemErrorText(ELOOP));
    const std::filesystem::path destination = std::filesystem::read_symlink(next, error);
    if (error) Refuse(target, SystemErrorText(error.value()));
    if (destination.is_absolute()) resolved = "/";
    PushNames(destination, pending);
  }
  return resolved;
#endif
}

}  // namespace pictarix
