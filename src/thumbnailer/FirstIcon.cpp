#include "thumbnailer/FirstIcon.h"

#include <exception>

#include "formats/FileIcons.h"
#include "os/Stream.h"

namespace pictarix::thumbnailer {

std::unique_ptr<AdvancedIcon> LoadFirstIcon(const std::filesystem::path& file) {
  // One open, without waiting: a FIFO or device could block the file manager's thumbnail queue.
  const std::unique_ptr<FileStream> stream = FileStream::OpenIfRegular(file);
  if (!stream) return nullptr;
  FileIconsOptions options;
  options.UntilFirstWithImages = true;
  // A cursor file's own picture: its images, or an animated cursor's first frame in step order.
  options.CursorFiles = true;
  FileIcons read = ReadFileIcons(*stream, file, options);
  if (read.IconFileError) std::rethrow_exception(read.IconFileError);
  // The window lists no icon without images.
  for (IconEntry& entry : read.Icons) {
    if (entry.Icon->Images.Count() > 0) return std::move(entry.Icon);
  }
  return nullptr;
}

}  // namespace pictarix::thumbnailer
