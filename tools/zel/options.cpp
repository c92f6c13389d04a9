// Options shared by the commands, the grammar loader and the reporting parser.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tool.h"

namespace zeltool {

namespace {

bool Allowed(const char* allowed, const char* option) { return std::strstr(allowed, option) != nullptr; }

bool Usage(const char* command, const std::string& text)
{
    std::fprintf(stderr, "zel %s: %s (see \"zel %s --help\")\n", command, text.c_str(), command);
    return false;
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
        } else if (arg == "--extended") {
            options.extended = 1;
        } else if (arg == "--escape") {
            const char* v = value("--escape");
            if (!v)
                return false;
            if (std::strlen(v) != 1)
                return Usage(command, "--escape takes one character");
            options.escape = v[0];
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
        } else if (arg == "--objects") {
            options.objects = true;
        } else if (arg == "--prefix") {
            const char* v = value("--prefix");
            if (!v)
                return false;
            options.prefix = v;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Usage(command, "unknown option \"" + arg + "\"");
        } else {
            options.files.push_back(arg);
        }
    }
    return true;
}

bool LoadGrammar(const Options& options, CZelGrammar& grammar)
{
    if (options.grammar.empty()) {
        std::fprintf(stderr, "zel: no grammar given (-g GRAMMAR)\n");
        return false;
    }
    if (grammar.CompileFile(options.grammar.c_str()) == 0)
        return true;
    const CStringList& errors = grammar.GetErrors();
    for (POSITION pos = errors.GetHeadPosition(); pos;)
        std::fprintf(stderr, "%s: %s\n", options.grammar.c_str(), static_cast<const char*>(errors.GetNext(pos)));
    return false;
}

ReportingParser::ReportingParser(zelParserS* grammar, const Options& options, const std::string& file)
    : CZelParser(grammar, 16, options.stackSize, options.escape, options.extended), m_file(file)
{
}

void ReportingParser::PrintError(zelSevCode severity, int line, const char* text)
{
    const char* kind = severity == zelSEV_NOTE ? "note" : severity == zelSEV_WARNING ? "warning" : "error";
    std::string message = text ? text : "";
    const size_t first = message.find_first_not_of(" \n");
    const size_t last = message.find_last_not_of(" \n");
    message = first == std::string::npos ? "" : message.substr(first, last - first + 1);
    // A token that spans lines is shown on one line, so that every report is one line.
    for (size_t at = message.find('\n'); at != std::string::npos; at = message.find('\n', at + 2))
        message.replace(at, 1, "\\n");
    ++m_reportsShown;
    std::fprintf(stderr, "%s:%d: %s: %s\n", m_file.c_str(), line, kind, message.c_str());
}

int ParseInput(ReportingParser& parser, const Options& options, const std::string& file)
{
    // The probe reads one character, so that a directory is refused like a missing file.
    FILE* probe = std::fopen(file.c_str(), "r");
    const bool readable = probe && (std::fgetc(probe) != EOF || !std::ferror(probe));
    if (probe)
        std::fclose(probe);
    if (!readable) {
        std::fprintf(stderr, "zel: cannot read \"%s\"\n", file.c_str());
        return kUsageOrIo;
    }
    if (parser.Parse(file.c_str(), "r", -1L, options.engine) == 0)
        return kSuccess;
    // Some failures are counted without a report: say what happened, so that a failing
    // file never passes in silence.
    if (parser.ReportsShown() == 0) {
        if (parser.GetErrno() == 3) {
            parser.PrintError(zelSEV_ERROR, 1, "the file holds no form");
        } else {
            int lines = 0;  // the number of the last line
            if (FILE* in = std::fopen(file.c_str(), "r")) {
                int last = '\n';
                for (int c; (c = std::fgetc(in)) != EOF; last = c)
                    lines += c == '\n';
                lines += last != '\n';
                std::fclose(in);
            }
            parser.PrintError(zelSEV_ERROR, lines, "the file ends before its last token (a quoted text left open?)");
        }
    }
    return kInputErrors;
}

}  // namespace zeltool
