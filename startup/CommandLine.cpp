#include "CommandLine.h"

#include <cstdio>
#include <cstring>

namespace CommandLine {

namespace {

const char usage[] =
    "Usage: ostrel [--help | --version]\n"
    "Ostrel, a time code calculator for video and film editors.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  --version      show the version and exit\n"
    "\n"
    "Otherwise ostrel takes no command line of its own. As a Qt program it accepts\n"
    "Qt's options, such as -platform NAME and -display DISPLAY.\n";

} // namespace

std::optional<int> answer(int argc, const char *const argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(usage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("ostrel " OSTREL_VERSION);
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace CommandLine
