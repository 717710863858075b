// The program's own options, read before any window exists: --help and --version print and end.
// Everything else is left to the viewer, which takes the first argument as a picture.
#pragma once

#include <cstdio>
#include <string_view>
#include <vector>

namespace kelpra {

enum class CommandLineRequest { OpenViewer, PrintUsage, PrintVersion };

// arguments: the command line after the program name. Only a first argument that is exactly
// "--help" or "--version" is an option; a picture with such a name is given as ./--help.
CommandLineRequest ReadCommandLine(const std::vector<std::string_view>& arguments);

// Prints the usage (PrintUsage) or the version line (PrintVersion) on `out`; returns the exit
// status: 0, or 1 when the text could not be written (a full disk, a closed pipe).
int PrintRequested(CommandLineRequest request, std::FILE* out);

}  // namespace kelpra
