// Running the zel tool, or any shell command line, from a test.
#ifndef ZEL_TESTS_TOOLS_RUN_TOOL_H
#define ZEL_TESTS_TOOLS_RUN_TOOL_H

#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include "support/test_grammars.h"

namespace zeltest {

inline const std::string kNetlist = std::string(ZEL_EXAMPLES_DIR) + "/netlist/";
inline const std::string kGrammar = "-g " + kNetlist + "netlist.zelg ";
inline const std::string kGood = kNetlist + "good.net", kBad = kNetlist + "bad.net";

// Runs a shell command line; returns "<exit status>|<stdout>|<stderr>".
inline std::string Shell(const std::string& command)
{
    const std::string out = TempFile(""), err = TempFile("");
    const int raw = std::system(("(" + command + ") >" + out + " 2>" + err).c_str());
    return std::to_string(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1) + "|" + ReadFile(out) + "|" + ReadFile(err);
}

// True when the shell finds the command.
inline bool HasCommand(const char* name) { return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0; }

// The tool, quoted for the shell, and a blank.
inline std::string Tool() { return std::string("'") + ZEL_TOOL + "' "; }

// Runs the tool with the arguments (written for the shell). A redirection given sends
// standard output elsewhere (then shown empty).
inline std::string Zel(const std::string& args, const std::string& redirection = "") { return Shell(Tool() + args + " " + redirection); }

}  // namespace zeltest

#endif
