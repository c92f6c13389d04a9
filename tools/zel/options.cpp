// Options shared by the commands, the grammar loader and the reporting parser.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "grammar/setting_names.h"
#include "tool.h"

namespace zeltool {

namespace {

bool Allowed(const char* allowed, const char* option) { return std::strstr(allowed, option) != nullptr; }

bool Usage(const char* command, const std::string& text)
{
    std::fprintf(stderr, "zel %s: %s (see \"zel %s --help\")\n", command, text.c_str(), command);
    return false;
}

// The option names joined by commas.
std::string LexicalOptionList()
{
    std::string list;
    for (const zel::LexicalOptionName& option : zel::kLexicalOptionNames)
        list += (list.empty() ? "" : ",") + std::string(option.name);
    return list;
}

// "none", or option names joined by commas.
bool ReadLexicalOptions(const char* text, int& bits)
{
    bits = 0;
    if (std::strcmp(text, "none") == 0)
        return true;
    std::string names = std::string(text) + ",";
    for (size_t start = 0, comma; (comma = names.find(',', start)) != std::string::npos; start = comma + 1) {
        const int bit = zel::LexicalOptionBit(names.substr(start, comma - start).c_str());
        if (!bit)
            return false;
        bits |= bit;
    }
    return true;
}

}  // namespace

bool ReadOptions(const char* command, int argc, char** argv, const char* allowed, Options& options, bool& help)
{
    help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* name) -> const char* {
            if (i + 1 >= argc) {
                Usage(command, std::string("option ") + name + " needs a value");
                return nullptr;
            }
            return argv[++i];
        };
        if (arg == "--help" || arg == "-h") {
            help = true;
            return true;
        }
        if (arg.size() > 1 && arg[0] == '-' && !Allowed(allowed, (" " + arg + " ").c_str()))
            return Usage(command, "unknown option \"" + arg + "\"");
        if (arg == "-g" || arg == "--grammar") {
            const char* v = value("-g");
            if (!v)
                return false;
            options.grammar = v;
        } else if (arg == "--engine") {
            const char* v = value("--engine");
            if (!v)
                return false;
            if (std::strcmp(v, "recursive") == 0)
                options.engine = 0;
            else if (std::strcmp(v, "iterative") == 0)
                options.engine = 1;
            else
                return Usage(command, std::string("--engine takes recursive or iterative, not \"") + v + "\"");
        } else if (arg == "--extended" || arg == "--plain") {
            options.extended = arg == "--extended" ? 1 : 0;
        } else if (arg == "--escape") {
            const char* v = value("--escape");
            if (!v)
                return false;
            if (std::strlen(v) != 1 && std::strcmp(v, "none") != 0)
                return Usage(command, "--escape takes one character or none");
            options.escape = std::strlen(v) == 1 ? static_cast<unsigned char>(v[0]) : 0;
        } else if (arg == "--lexical-options") {
            const char* v = value("--lexical-options");
            if (!v)
                return false;
            if (!ReadLexicalOptions(v, options.lexicalOptions))
                return Usage(command, std::string("--lexical-options takes none or names from ") + LexicalOptionList() +
                                          ", not \"" + v + "\"");
        } else if (arg == "--stack") {
            const char* v = value("--stack");
            if (!v)
                return false;
            char* end = nullptr;
            const long n = std::strtol(v, &end, 10);
            if (*end || n < 1 || n > 100000000)
                return Usage(command, "--stack takes a number of entries from 1 to 100000000");
            options.stackSize = static_cast<int>(n);
        } else if (arg == "-i") {
            options.inPlace = true;
        } else if (arg == "--strip-comments") {
            options.stripComments = true;
        } else if (arg == "--objects") {
            options.objects = true;
        } else if (arg == "--prefix") {
            const char* v = value("--prefix");
            if (!v)
                return false;
            options.prefix = v;
        } else if (arg == "--header") {
            options.header = true;
        } else if (arg == "--with-header") {
            const char* v = value("--with-header");
            if (!v)
                return false;
            options.withHeader = v;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage(command, "unknown option \"" + arg + "\"");
        } else {
            options.files.push_back(arg);
        }
    }
    return true;
}

bool LoadGrammar(Options& options, CZelGrammar& grammar)
{
    if (options.grammar.empty()) {
        std::fprintf(stderr, "zel: no grammar given (-g GRAMMAR)\n");
        return false;
    }
    const bool compiled = grammar.CompileFile(options.grammar.c_str()) == 0;
    const CStringList& messages = compiled ? grammar.GetWarnings() : grammar.GetErrors();
    for (POSITION pos = messages.GetHeadPosition(); pos;)
        std::fprintf(stderr, "%s: %s\n", options.grammar.c_str(), static_cast<const char*>(messages.GetNext(pos)));
    if (!compiled)
        return false;
    if (options.extended < 0)
        options.extended = grammar.GetExtendedSyntax();
    if (options.escape < 0)
        options.escape = static_cast<unsigned char>(grammar.GetEscapeChar());
    if (options.lexicalOptions < 0)
        options.lexicalOptions = grammar.GetLexicalOptions();
    return true;
}

ReportingParser::ReportingParser(zelParserS* grammar, const Options& options, const std::string& file)
    : CZelParser(grammar, 16, options.stackSize, static_cast<char>(options.escape), options.extended,
                 options.lexicalOptions),
      m_file(DisplayName(file))
{
    // A valid file never fails for want of stack: --stack is where the stack starts.
    SetStackGrowth(1);
}

// The library's reports of an input it could not open or read (zelERR_OPEN_FILE and
// zelERR_READ_FILE); they name the file but not the system's reason.
bool IsInputFailure(const char* text)
{
    static const char* const kFailures[] = {"Error opening database file: ", "Error reading database file: "};
    for (const char* failure : kFailures)
        if (text && std::strncmp(text, failure, std::strlen(failure)) == 0)
            return true;
    return false;
}

void ReportingParser::PrintError(zelSevCode severity, int line, const char* text)
{
    // The library reports a failed open or read right after the call, so errno holds its reason.
    const int reason = errno;
    const char* kind = severity == zelSEV_NOTE ? "note" : severity == zelSEV_WARNING ? "warning" : "error";
    std::string message = text ? text : "";
    const size_t first = message.find_first_not_of(" \n");
    const size_t last = message.find_last_not_of(" \n");
    message = first == std::string::npos ? "" : message.substr(first, last - first + 1);
    // A token that spans lines is shown on one line, so that every report is one line.
    for (size_t at = message.find('\n'); at != std::string::npos; at = message.find('\n', at + 2))
        message.replace(at, 1, "\\n");
    ++m_reportsShown;
    if (severity == zelSEV_WARNING)
        ++m_warningsShown;
    std::fprintf(stderr, "%s:%d: %s: %s\n", m_file.c_str(), line, kind, message.c_str());
    if (IsInputFailure(text)) {
        m_inputFailed = true;
        if (reason != 0)
            std::fprintf(stderr, "zel: cannot read \"%s\": %s\n", m_file.c_str(), std::strerror(reason));
    }
}

// Messages that bypass the reports (a failed allocation, the statistics) go to stderr too.
void ReportingParser::WriteMsg(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::fputs("zel: ", stderr);
    std::vfprintf(stderr, format, args);
    va_end(args);
}

std::string DisplayName(const std::string& file) { return file == "-" ? "<stdin>" : file; }

int ParseInput(ReportingParser& parser, const Options& options, const std::string& file)
{
    // Each input is opened once, by the parser: a pipe or a FIFO is read exactly once.
    // A directory or a file that cannot be read is refused before that, without reading.
    const std::string path = file == "-" ? "/dev/stdin" : file;
    struct stat status;
    int reason = 0;
    if (stat(path.c_str(), &status) != 0 || access(path.c_str(), R_OK) != 0)
        reason = errno;
    else if (S_ISDIR(status.st_mode))
        reason = EISDIR;
    if (reason != 0) {
        std::fprintf(stderr, "zel: cannot read \"%s\": %s\n", DisplayName(file).c_str(), std::strerror(reason));
        return kUsageOrIo;
    }
    if (parser.Parse(path.c_str(), "r", -1L, options.engine) == 0)
        return kSuccess;
    if (parser.InputFailed())
        return kUsageOrIo;
    if (parser.GetErrno() == 4 && parser.ReportsShown() == 0) {
        std::fprintf(stderr, "zel: cannot read \"%s\"\n", DisplayName(file).c_str());
        return kUsageOrIo;
    }
    // A failure counted without a report still gets a message, so that a failing file
    // never passes in silence.
    if (parser.ReportsShown() == 0)
        parser.PrintError(zelSEV_ERROR, 1,
                          parser.GetErrno() == 3 ? "the file holds no form" : "the file does not parse");
    return kInputErrors;
}

}  // namespace zeltool
