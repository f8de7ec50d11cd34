// pictarix-thumbnailer: a file's first icon as a PNG picture for file managers.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "os/EscapedText.h"
#include "os/SafeFile.h"
#include "thumbnailer/FirstIcon.h"
#include "thumbnailer/ResourceLimits.h"
#include "thumbnailer/Thumbnail.h"
#include "thumbnailer/ThumbnailArguments.h"

namespace {

// Names on stderr are escaped: a file name must not drive the terminal or forge a line.
void Complain(const std::string& message) {
  std::fprintf(stderr, "pictarix-thumbnailer: %s\n", pictarix::EscapeControlChars(message).c_str());
}

int Fail(const std::string& message) {
  Complain(message);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace pictarix;
  using namespace pictarix::thumbnailer;
  LimitResources();
  const ParsedArguments parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
  if (parsed.Asked == ParsedArguments::Request::Help) return std::fputs(kUsage, stdout) < 0;
  if (parsed.Asked == ParsedArguments::Request::Version)
    return std::printf("pictarix-thumbnailer %s\n", PICTARIX_VERSION) < 0;
  if (!parsed.Arguments) {
    Complain(parsed.Error);
    std::fputs(kUsage, stderr);
    return 2;
  }
  const ThumbnailArguments& arguments = *parsed.Arguments;
  try {
    const auto icon = LoadFirstIcon(arguments.Input);
    if (!icon) return Fail("no icon in " + arguments.Input.string());
    const auto png = ThumbnailPng(*icon, arguments.Size);
    if (!png) return Fail("the icon's image cannot be read in " + arguments.Input.string());
    ReplaceFileContents(arguments.Output, *png);
  } catch (const std::bad_alloc&) {
    return Fail("out of memory reading " + arguments.Input.string());
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return 0;
}
