#pragma once

#include <optional>

// The two options every Unix program answers without a display: --help and --version.
// Everything else on the command line is left to Qt (-platform, -display and the like).
namespace CommandLine {

// The exit status when an option was answered on standard output, nothing otherwise.
std::optional<int> answer(int argc, const char *const argv[]);

} // namespace CommandLine
