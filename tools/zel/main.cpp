// zel: check, format, show and generate form files and grammars from the shell.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tool.h"

namespace {

const char kUsage[] =
    "usage: zel <command> [options] ...\n"
    "       zel --version\n"
    "\n"
    "commands:\n"
    "  check -g GRAMMAR FILE...   parse files and print every message; exit 1 on errors\n"
    "  fmt   -g GRAMMAR FILE      write the canonical text (to standard output, or -i in place)\n"
    "  tree  -g GRAMMAR FILE      show the tree (--objects adds the object table)\n"
    "  gen   GRAMMAR              write the grammar's tables as C++ source (--header: a header)\n"
    "\n"
    "Run \"zel <command> --help\" for the options of a command, \"man zel\" for the manual.\n";

// The tool's version, and the library's where the loaded one is another.
void PrintVersion()
{
    if (std::strcmp(ZEL_VERSION_STRING, zelVersion()) == 0)
        std::printf("zel %s\n", ZEL_VERSION_STRING);
    else
        std::printf("zel %s (library %s)\n", ZEL_VERSION_STRING, zelVersion());
}

int RunCommand(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return zeltool::kUsageOrIo;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0) {
        std::fputs(kUsage, stdout);
        return zeltool::kSuccess;
    }
    if (std::strcmp(command, "--version") == 0) {
        PrintVersion();
        return zeltool::kSuccess;
    }
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

// Output that did not reach standard output (closed, a full disk, a closed pipe) fails the
// command with the system's reason. The failing write is the last system call that failed
// (a stream drops what it could not write), so errno still holds its reason here.
int FinishStandardOutput(int status)
{
    const bool flushFailed = std::fflush(stdout) != 0;
    const int reason = errno;
    if (!flushFailed && !std::ferror(stdout))
        return status;
    std::fprintf(stderr, "zel: cannot write standard output: %s\n", std::strerror(reason));
    return zeltool::kUsageOrIo;
}

}  // namespace

int main(int argc, char** argv) { return FinishStandardOutput(RunCommand(argc, argv)); }
