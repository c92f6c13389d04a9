// The zel command-line tool: shared options, the diagnostics parser and the commands.
#ifndef ZEL_TOOLS_TOOL_H
#define ZEL_TOOLS_TOOL_H

#include <string>
#include <vector>

#include "source_lines.h"
#include "zel/zel.h"

namespace zeltool {

// Exit codes of every command.
enum ExitCode { kSuccess = 0, kInputErrors = 1, kUsageOrIo = 2 };

struct Options {
    std::string grammar;             // -g FILE
    int engine = 0;                  // --engine recursive (0) or iterative (1)
    // The lexical settings: -1 takes the grammar's, anything else overrides it.
    int extended = -1;               // --extended 1, --plain 0
    int escape = -1;                 // --escape C, --escape none 0
    int lexicalOptions = -1;         // --lexical-options NAME,... or none
    int stackSize = 1 << 20;         // --stack N
    bool inPlace = false;            // fmt -i
    bool stripComments = false;      // fmt --strip-comments
    bool objects = false;            // tree --objects
    std::string prefix;              // gen --prefix NAME
    bool header = false;             // gen --header
    std::string withHeader;          // gen --with-header HEADER
    bool json = false;               // check, tree --format json (text by default)
    int colour = -1;                 // --color never (0), always (1) or auto (-1)
    std::vector<std::string> files;  // the operands
};

// Reads the command's options; unknown options and missing values are usage errors.
// Returns false after printing the error.
bool ReadOptions(const char* command, int argc, char** argv, const char* allowed, Options& options, bool& help);

// Compiles options.grammar; shows its errors, or its warnings when it compiles. Returns
// false on failure. The lexical settings the options leave open are taken from the grammar.
bool LoadGrammar(Options& options, CZelGrammar& grammar);

// A parser that shows each report through the tool's diagnostics, with the place the
// report is about and the source line there.
class ReportingParser : public CZelParser {
public:
    ReportingParser(zelParserS* grammar, const Options& options, const std::string& file);
    void PrintError(zelSevCode severity, int line, const char* text) override;
    void WriteMsg(const char* format, ...) override __attribute__((format(printf, 2, 3)));
    // Returns the number of reports printed so far.
    int ReportsShown() const { return m_reportsShown; }
    // Returns the number of warnings printed so far: each one names a value that the
    // parse could not keep as written.
    int WarningsShown() const { return m_warningsShown; }
    // True once the library reported that the input could not be opened or read.
    bool InputFailed() const { return m_inputFailed; }
    // The lines of the input, for the source line under a report.
    SourceLines& Source() { return m_source; }
    // The name the input is shown under.
    const std::string& DisplayedFile() const { return m_file; }

private:
    std::string m_file;
    SourceLines m_source;
    bool m_inputFailed = false;
    int m_reportsShown = 0;
    int m_warningsShown = 0;
};

// The name under which a file operand is shown: "<stdin>" for "-".
std::string DisplayName(const std::string& file);

// Parses file ("-" reads standard input); returns kSuccess, kInputErrors (reported) or
// kUsageOrIo (unreadable, said with the system's reason).
int ParseInput(ReportingParser& parser, const Options& options, const std::string& file);

int RunCheck(int argc, char** argv);
int RunFmt(int argc, char** argv);
int RunTree(int argc, char** argv);
int RunGen(int argc, char** argv);

}  // namespace zeltool

#endif
