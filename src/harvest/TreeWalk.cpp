#include "harvest/TreeWalk.h"

#include <cerrno>
#include <memory>
#include <unordered_set>
#include <vector>

#include "os/Errors.h"

namespace pictarix {

namespace {

// Folders kept open above the deepest: a deeper tree reopens a closed folder through ".." of
// its child on the way back up, so the walk never runs out of descriptors.
constexpr std::size_t kOpenLevels = 64;

struct DirectoryIdHash {
  std::size_t operator()(const DirectoryId& id) const {
    return std::hash<std::uint64_t>{}(id.Inode * 1000003u ^ id.Device);
  }
};

// A name that vanished or changed kind between the listing and its open (ELOOP: a link swapped
// in for a file): left out quietly.
bool IsGone(int error) {
  return error == ENOENT || error == ENOTDIR || error == ELOOP;
}

class TreeWalk {
 public:
  TreeWalk(std::string root, WalkVisitor& visitor) : visitor_(visitor), path_(std::move(root)) {}

  void Run(FileHandle root);

 private:
  struct Level {
    std::unique_ptr<FolderReader> Folder;  // closed while far above the deepest level
    DirectoryId Id;
    std::size_t PathLength = 0;  // of path_ up to this folder's "/"
    std::vector<DirectoryEntry> Names;
    std::size_t Next = 0;
  };

  void Enter(FileHandle folder);
  void Leave();
  void Visit(int folder, const std::string& name, FileKind kind);
  void VisitFile(int folder, const std::string& name);
  std::string FolderPath(std::size_t length) const {
    return path_.substr(0, length > 1 ? length - 1 : length);
  }

  WalkVisitor& visitor_;
  std::string path_;  // the path of the name being handled
  std::vector<Level> stack_;
  std::unordered_set<DirectoryId, DirectoryIdHash> visited_;
};

void TreeWalk::Run(FileHandle root) {
  if (path_.empty() || path_.back() != '/') path_ += '/';
  Enter(std::move(root));
  while (!stack_.empty()) {
    Level& top = stack_.back();
    if (top.Next >= top.Names.size() || visitor_.Stopped()) {
      Leave();
      continue;
    }
    const DirectoryEntry entry = std::move(top.Names[top.Next++]);
    path_.resize(top.PathLength);
    path_ += entry.Name;
    visitor_.Pause();
    if (visitor_.Stopped()) continue;
    Visit(top.Folder->Descriptor(), entry.Name, entry.Kind);
  }
}

void TreeWalk::Enter(FileHandle folder) {
  if (!visited_.insert(folder.Id).second) return;
  Level level;
  level.Id = folder.Id;
  level.PathLength = path_.size();
  level.Folder = std::make_unique<FolderReader>(std::move(folder));
  if (const int error = level.Folder->List(level.Names)) {
    visitor_.Unreadable(FolderPath(level.PathLength), SystemErrorText(error));
  }
  stack_.push_back(std::move(level));
  if (stack_.size() > kOpenLevels) stack_[stack_.size() - 1 - kOpenLevels].Folder.reset();
}

void TreeWalk::Leave() {
  if (stack_.size() >= 2 && !visitor_.Stopped()) {
    Level& parent = stack_[stack_.size() - 2];
    if (!parent.Folder && parent.Next < parent.Names.size()) {
      OpenedFile up = OpenParentFolder(stack_.back().Folder->Descriptor());
      if (up.Error == 0 && up.Handle.Id == parent.Id) {
        parent.Folder = std::make_unique<FolderReader>(std::move(up.Handle));
      } else {
        visitor_.Unreadable(FolderPath(parent.PathLength),
                            "The folder was moved while it was read");
        parent.Next = parent.Names.size();
      }
    }
  }
  stack_.pop_back();
}

void TreeWalk::Visit(int folder, const std::string& name, FileKind kind) {
  int error = 0;
  switch (kind) {
    case FileKind::Directory: {
      OpenedFile sub = OpenSubfolder(folder, name);
      if (sub.Error != 0) {
        if (!IsGone(sub.Error)) visitor_.Unreadable(path_, SystemErrorText(sub.Error));
        return;
      }
      path_ += '/';
      Enter(std::move(sub.Handle));
      return;
    }
    case FileKind::Regular:
      VisitFile(folder, name);
      return;
    case FileKind::Link:
      return;  // never followed, to a file or a folder: skipped, neither counted nor reported
    case FileKind::Unknown:
      // The file system's listing gives no kinds: ask for this name's own.
      kind = KindOf(folder, name, false, error);
      if (kind != FileKind::Unknown) Visit(folder, name, kind);
      return;
    case FileKind::Other:
      return;  // FIFOs, sockets and devices are never opened
  }
}

// Opened without following a link, then told by its descriptor: what the listing said is only
// a hint, as the name may have been replaced since.
void TreeWalk::VisitFile(int folder, const std::string& name) {
  OpenedFile file = OpenInFolder(folder, name);
  if (file.Error != 0 ? IsGone(file.Error) : file.Handle.Kind != FileKind::Regular) return;
  visitor_.File(path_, std::move(file));
}

}  // namespace

void WalkTree(const std::filesystem::path& root, WalkVisitor& visitor) {
  if (visitor.Stopped()) return;
  visitor.Pause();
  OpenedFile opened = OpenForReading(root);
  if (opened.Error == 0 && opened.Handle.Kind != FileKind::Directory) opened.Error = ENOTDIR;
  if (opened.Error != 0) {
    visitor.Unreadable(root.string(), SystemErrorText(opened.Error));
    return;
  }
  TreeWalk(root.string(), visitor).Run(std::move(opened.Handle));
}

}  // namespace pictarix
