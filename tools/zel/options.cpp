// Options shared by the commands, the grammar loader and the reporting parser.
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "diagnostics.h"
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
        std::string arg = argv[i];
        // "--name=value" gives the value of a long option in the same word.
        const size_t equals = arg.compare(0, 2, "--") == 0 ? arg.find('=') : std::string::npos;
        const char* inlineValue = equals == std::string::npos ? nullptr : argv[i] + equals + 1;
        if (inlineValue)
            arg.erase(equals);
        auto value = [&](const char* name) -> const char* {
            if (inlineValue) {
                const char* v = inlineValue;
                inlineValue = nullptr;
                return v;
            }
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
        } else if (arg == "--format") {
            const char* v = value("--format");
            if (!v)
                return false;
            if (std::strcmp(v, "text") != 0 && std::strcmp(v, "json") != 0)
                return Usage(command, std::string("--format takes text or json, not \"") + v + "\"");
            options.json = std::strcmp(v, "json") == 0;
        } else if (arg == "--color") {
            const char* v = value("--color");
            if (!v)
                return false;
            if (std::strcmp(v, "auto") != 0 && std::strcmp(v, "always") != 0 && std::strcmp(v, "never") != 0)
                return Usage(command, std::string("--color takes auto, always or never, not \"") + v + "\"");
            options.colour = std::strcmp(v, "auto") == 0 ? -1 : std::strcmp(v, "always") == 0;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage(command, "unknown option \"" + arg + "\"");
        } else {
            options.files.push_back(arg);
        }
        if (inlineValue)
            return Usage(command, "option " + arg + " takes no value");
    }
    // The diagnostics take the form the options ask for: JSON lines only from check, whose
    // output the messages are.
    ToolDiagnostics().Configure(options.json && std::strcmp(command, "check") == 0,
                                options.colour < 0 ? AutoColour(STDERR_FILENO) : options.colour == 1);
    return true;
}

bool LoadGrammar(Options& options, CZelGrammar& grammar)
{
    if (options.grammar.empty()) {
        std::fprintf(stderr, "zel: no grammar given (-g GRAMMAR)\n");
        return false;
    }
    const bool compiled = grammar.CompileFile(options.grammar.c_str()) == 0;
    ToolDiagnostics().ShowGrammarMessages(options.grammar, compiled ? grammar.GetWarnings() : grammar.GetErrors(),
                                          !compiled);
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
      m_file(DisplayName(file)), m_source(file == "-" ? "" : file)
{
    // A valid file never fails for want of stack: --stack is where the stack starts.
    SetStackGrowth(1);
    SetRecovery(1);  // every problem of a file in one run
}

void ReportingParser::PrintError(zelSevCode severity, int line, const char* text)
{
    // The library reports a failed open or read right after the call, so errno holds its reason.
    const int reason = errno;
    const zelReportS report = GetReport();
    Diagnostic diagnostic;
    diagnostic.file = m_file;
    diagnostic.severity = severity;
    diagnostic.text = TrimMessage(text);
    // A report that names no place keeps the line the reader was on.
    diagnostic.line = report.line > 0 ? report.line : line;
    diagnostic.column = report.line > 0 ? report.column : 0;
    diagnostic.libraryCode = report.code;
    diagnostic.code = CodeName(report.code);
    diagnostic.followOn = report.followOn != 0;
    ++m_reportsShown;
    if (severity == zelSEV_WARNING)
        ++m_warningsShown;
    ToolDiagnostics().Show(diagnostic, &m_source);
    // The reports of an input that could not be opened or read name the file, not the reason.
    if (report.code == zelERR_OPEN_FILE || report.code == zelERR_READ_FILE) {
        m_inputFailed = true;
        if (reason != 0)
            ToolDiagnostics().ShowIoError(m_file, "cannot read \"" + m_file + "\": " + std::strerror(reason));
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

namespace {

// A failure that the library counted without a report, as the tool says it.
void ShowUnreported(ReportingParser& parser, const char* code, const char* text)
{
    Diagnostic diagnostic;
    diagnostic.file = parser.DisplayedFile();
    diagnostic.line = 1;
    diagnostic.code = code;
    diagnostic.text = text;
    ToolDiagnostics().Show(diagnostic, nullptr);
}

}  // namespace

int ParseInput(ReportingParser& parser, const Options& options, const std::string& file)
{
    // Each input is opened once, by the parser: a pipe or a FIFO is read exactly once.
    // Standard input is first copied, so that the lines under its reports can be shown.
    // A directory or a file that cannot be read is refused before that, without reading.
    std::string path = file == "-" ? "/dev/stdin" : file;
    struct stat status;
    int reason = 0;
    if (stat(path.c_str(), &status) != 0 || access(path.c_str(), R_OK) != 0)
        reason = errno;
    else if (S_ISDIR(status.st_mode))
        reason = EISDIR;
    else if (file == "-" && !ToolDiagnostics().Json()) {
        // Without room for the copy, standard input is read as it is, with no lines to show.
        const SourceLines::KeepResult kept = parser.Source().Keep(stdin);
        if (kept == SourceLines::kKept)
            path = parser.Source().Path();
        else if (kept == SourceLines::kFailed)
            reason = errno ? errno : EIO;
    }
    if (reason != 0) {
        ToolDiagnostics().ShowIoError(DisplayName(file),
                                      "cannot read \"" + DisplayName(file) + "\": " + std::strerror(reason));
        return kUsageOrIo;
    }
    if (parser.Parse(path.c_str(), "r", -1L, options.engine) == 0)
        return kSuccess;
    if (parser.InputFailed())
        return kUsageOrIo;
    if (parser.GetErrno() == 4 && parser.ReportsShown() == 0) {
        ToolDiagnostics().ShowIoError(DisplayName(file), "cannot read \"" + DisplayName(file) + "\"");
        return kUsageOrIo;
    }
    // A failure counted without a report still gets a message, so that a failing file
    // never passes in silence.
    if (parser.ReportsShown() == 0) {
        if (parser.GetErrno() == 3)
            ShowUnreported(parser, "NO_FORM", "the file holds no form");
        else
            ShowUnreported(parser, "PARSE", "the file does not parse");
    }
    return kInputErrors;
}

}  // namespace zeltool
