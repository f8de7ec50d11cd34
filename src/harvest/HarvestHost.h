#pragma once
// What the harvest tells whoever takes its results: the window and the command-line tool
// implement it. It is called on the thread that takes the results, never on the harvest's own.
#include <filesystem>
#include <string>

namespace pictarix {

class IconGraphic;

class HarvestHost {
 public:
  virtual ~HarvestHost() = default;
  // Status panel `panel` (0..3) shows `text` (UTF-8).
  virtual void SetPanelText(int panel, const std::string& text) = 0;
  // The preview tile shows the icon just added.
  virtual void ShowPreview(const IconGraphic& graphic) = 0;
  // Whether entries need 32x32 tiles (a listing wants none and so decodes nothing).
  virtual bool WantsTiles() const = 0;
  // Whether the status panels are shown at all; a host that shows none is spared their texts.
  virtual bool ShowsPanels() const { return true; }
  // An entry was appended at `index` (views take rows in batches from here).
  virtual void EntryAdded(int index) { (void)index; }
  // A file or folder that could not be read (one named by the user or one inside a tree);
  // `reason` says why in plain words. FIFOs, sockets and devices are skipped without a word.
  virtual void FileUnreadable(const std::filesystem::path& path, const std::string& reason) {
    (void)path;
    (void)reason;
  }
  // Something of a file's entry that was put right while reading (`note`, in plain words,
  // naming the entry); the file was read.
  virtual void FileNoted(const std::filesystem::path& path, const std::string& note) {
    (void)path;
    (void)note;
  }
};

}  // namespace pictarix
