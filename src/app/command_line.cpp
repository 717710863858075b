#include "app/command_line.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "ui/form1.h"

namespace kelpra {

CommandLineRequest ReadCommandLine(const std::vector<std::string_view>& arguments) {
  if (arguments.empty())
    return CommandLineRequest::OpenViewer;
  if (arguments.front() == "--help")
    return CommandLineRequest::PrintUsage;
  if (arguments.front() == "--version")
    return CommandLineRequest::PrintVersion;
  return CommandLineRequest::OpenViewer;
}

namespace {

std::string UsageText() {
  return "Usage: kelpra [PICTURE]\n"
         "Shows the pictures of PICTURE's folder as the pages of a book, starting at PICTURE\n"
         "(JPEG, GIF, PNG or BMP); without one, the page shown last.\n"
         "\n"
         "  --help     print this usage and exit\n"
         "  --version  print the version line and exit\n"
         "\n"
         "A picture named like an option is given with its folder: kelpra ./--help\n"
         "Keys, mouse and touch gestures: man kelpra\n";
}

std::string VersionText() {
  return std::string(Title) + BuildTag() + Version1 + "\n";
}

}  // namespace

int PrintRequested(CommandLineRequest request, std::FILE* out) {
  const std::string text =
      request == CommandLineRequest::PrintVersion ? VersionText() : UsageText();
  const bool written = std::fputs(text.c_str(), out) >= 0 && std::fflush(out) == 0;
  if (written)
    return 0;
  std::fprintf(stderr, "kelpra: cannot write: %s\n", std::strerror(errno));
  return 1;
}

}  // namespace kelpra
