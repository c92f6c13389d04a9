// zel: check, format, show and generate form files and grammars from the shell.
#include <cstdio>
#include <cstring>

#include "tool.h"

namespace {

const char kUsage[] =
    "usage: zel <command> [options] ...\n"
    "\n"
    "commands:\n"
    "  check -g GRAMMAR FILE...   parse files and print every message; exit 1 on errors\n"
    "  fmt   -g GRAMMAR FILE      write the canonical text (to standard output, or -i in place)\n"
    "  tree  -g GRAMMAR FILE      show the tree (--objects adds the object table)\n"
    "  gen   GRAMMAR              write the grammar's tables as C++ source\n"
    "\n"
    "Run \"zel <command> --help\" for the options of a command.\n";

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? zeltool::kUsageOrIo : zeltool::kSuccess;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "check") == 0)
        return zeltool::RunCheck(argc - 1, argv + 1);
    if (std::strcmp(command, "fmt") == 0)
        return zeltool::RunFmt(argc - 1, argv + 1);
    if (std::strcmp(command, "tree") == 0)
        return zeltool::RunTree(argc - 1, argv + 1);
    if (std::strcmp(command, "gen") == 0)
        return zeltool::RunGen(argc - 1, argv + 1);
    std::fprintf(stderr, "zel: unknown command \"%s\"\n\n%s", command, kUsage);
    return zeltool::kUsageOrIo;
}
