// The tool's diagnostics as text or JSON lines.
#include "diagnostics.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

#include "diag/messages.h"
#include "json.h"
#include "printable.h"
#include "source_lines.h"

namespace zeltool {

namespace {

// The names of the zelErrCode values, by code.
const char* const kCodeNames[] = {
    "NONE",           "RESERVED1",        "MISSING_GOAL",    "RESERVED3",       "OPEN_FILE",
    "BUFFER_LENGTH",  "UNEXPECTED_TOKEN", "UNMATCHED_QUOTES", "UNEXPECTED_EOF", "SKIPPING_FORM",
    "EXPECTING",      "PARSING_ENDED",    "UNEXPECTED_EOFORM", "ONLY_ONCE",     "EXPECTING_EOFORM",
    "UNRECOGNIZED_FORM", "STACK_UNDERFLOW", "STACK_OVERFLOW", "RESERVED18",     "SYNTAX",
    "INT_RANGE",      "REAL_RANGE",       "NUMBER_TEXT",     "NUL_BYTE",        "READ_FILE",
    "GRAMMAR_TABLES"};
static_assert(sizeof kCodeNames / sizeof kCodeNames[0] == zelERR_GRAMMAR_TABLES + 1, "one name per code");

const char kBold[] = "\033[1m", kRed[] = "\033[1;31m", kMagenta[] = "\033[1;35m", kCyan[] = "\033[1;36m",
           kGreen[] = "\033[1;32m", kReset[] = "\033[0m";

// A message text cut at its placeholders: the fixed parts and, between them, what the
// report put in (each marked when the format quotes it).
struct MessageParts {
    std::vector<std::string> fixed;   // one more than the values
    std::vector<std::string> values;
    std::vector<bool> quoted;
};

// Cuts text along the format of code; false when it does not match. A value takes the
// text up to the last place where the fixed part after it fits.
bool MatchFormat(const std::string& text, int code, MessageParts& parts)
{
    const zel::MessageRow* row = zel::MessageOf(static_cast<zelErrCode>(code));
    if (!row || !row->text)
        return false;
    const std::string format = TrimMessage(row->text);
    parts = MessageParts();
    size_t start = 0;
    for (size_t at; (at = format.find('%', start)) != std::string::npos && at + 1 < format.size(); start = at + 2) {
        parts.fixed.push_back(format.substr(start, at - start));
        parts.quoted.push_back(at > 0 && format[at - 1] == '"' && at + 2 < format.size() && format[at + 2] == '"');
    }
    parts.fixed.push_back(format.substr(start));
    if (parts.fixed.size() == 1)
        return text == format;
    const std::string& last = parts.fixed.back();
    if (text.compare(0, parts.fixed[0].size(), parts.fixed[0]) != 0 || text.size() < parts.fixed[0].size() + last.size() ||
        text.compare(text.size() - last.size(), last.size(), last) != 0)
        return false;
    size_t from = parts.fixed[0].size();
    const size_t end = text.size() - last.size();
    for (size_t i = 1; i < parts.fixed.size(); ++i) {
        const std::string& part = parts.fixed[i];
        const bool inner = i + 1 < parts.fixed.size();
        if (inner && end < from + part.size())
            return false;
        const size_t next = inner ? text.rfind(part, end - part.size()) : end;
        if (next == std::string::npos || next < from || next > end)
            return false;
        parts.values.push_back(text.substr(from, next - from));
        from = next + part.size();
    }
    return true;
}

const char* SeverityWord(zelSevCode severity)
{
    return severity == zelSEV_NOTE ? "note" : severity == zelSEV_WARNING ? "warning" : "error";
}

}  // namespace

bool AutoColour(int fd)
{
    const char* noColour = std::getenv("NO_COLOR");
    return isatty(fd) && !(noColour && *noColour);
}

std::string TrimMessage(const char* text)
{
    const std::string message = text ? text : "";
    const size_t first = message.find_first_not_of(" \n");
    const size_t last = message.find_last_not_of(" \n");
    return first == std::string::npos ? "" : message.substr(first, last - first + 1);
}

std::string CodeName(int code)
{
    if (code >= 0 && code <= zelERR_GRAMMAR_TABLES)
        return kCodeNames[code];
    return "CODE_" + std::to_string(code);
}

std::string ReadableMessage(const std::string& text, int code)
{
    MessageParts parts;
    if (code < 0 || !MatchFormat(text, code, parts))
        return EscapeForDisplay(text);
    std::string readable = parts.fixed[0];
    for (size_t i = 0; i < parts.values.size(); ++i)
        readable += EscapeForDisplay(parts.quoted[i] ? CutToLength(parts.values[i], kTokenShown) : parts.values[i]) +
                    parts.fixed[i + 1];
    return readable;
}

std::string SourceExcerpt(const std::string& line, int column, bool colour)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const size_t at = std::min(static_cast<size_t>(column > 0 ? column - 1 : 0), line.size());
    size_t start = 0, end = line.size();
    if (line.size() > kSourceWindow) {
        start = at > kSourceWindow * 2 / 5 ? at - kSourceWindow * 2 / 5 : 0;
        end = std::min(line.size(), start + kSourceWindow);
        // No UTF-8 sequence is split by the window's ends.
        for (int i = 0; i < 3 && start < at && (bytes[start] & 0xC0) == 0x80; ++i)
            ++start;
        for (int i = 0; i < 3 && end > at && end < line.size() && (bytes[end] & 0xC0) == 0x80; ++i)
            --end;
    }
    std::string shown = start > 0 ? "..." : "", pad = start > 0 ? "   " : "";
    for (size_t i = start; i < end;) {
        const unsigned char c = bytes[i];
        size_t length = 1;
        std::string piece;
        if (c == '\t' || (c >= 0x20 && c < 0x7F))
            piece = static_cast<char>(c);
        else if ((length = c >= 0x80 ? Utf8SequenceLength(bytes + i, end - i) : 0) > 0)
            piece = line.substr(i, length);
        else
            piece = EscapeForDisplay(line.substr(i, length = 1));
        if (i < at)  // a tab pads as a tab; any other character takes one cell per shown byte
            pad += c == '\t' ? "\t" : std::string(length > 1 ? 1 : piece.size(), ' ');
        shown += piece;
        i += length;
    }
    if (end < line.size())
        shown += "...";
    return shown + "\n" + pad + (colour ? kGreen : "") + "^" + (colour ? kReset : "") + "\n";
}

void DiagnosticPrinter::Configure(bool json, bool colour)
{
    m_json = json;
    m_colour = colour && !json;
}

std::string DiagnosticPrinter::Render(const Diagnostic& diagnostic, const std::string* sourceLine) const
{
    std::string where = diagnostic.file + ":";
    if (diagnostic.line > 0)
        where += std::to_string(diagnostic.line) + ":";
    if (diagnostic.line > 0 && diagnostic.column > 0)
        where += std::to_string(diagnostic.column) + ":";
    const zelSevCode severity = diagnostic.followOn ? zelSEV_NOTE : diagnostic.severity;
    const char* colour = severity == zelSEV_NOTE ? kCyan : severity == zelSEV_WARNING ? kMagenta : kRed;
    std::string text = m_colour ? kBold + where + kReset + " " + colour + SeverityWord(severity) + ":" + kReset
                                : where + " " + SeverityWord(severity) + ":";
    text += " " + diagnostic.text + "\n";
    if (sourceLine && diagnostic.line > 0 && diagnostic.column > 0)
        text += SourceExcerpt(*sourceLine, diagnostic.column, m_colour);
    return text;
}

void DiagnosticPrinter::Show(const Diagnostic& diagnostic, SourceLines* source)
{
    if (m_json) {
        std::printf("{\"file\":%s,\"line\":%d,\"column\":%d,\"severity\":\"%s\",\"code\":%s,\"text\":%s,\"followOn\":%s}\n",
                    JsonString(diagnostic.file).c_str(), diagnostic.line, diagnostic.column,
                    SeverityWord(diagnostic.severity), JsonString(diagnostic.code).c_str(),
                    JsonString(diagnostic.text).c_str(), diagnostic.followOn ? "true" : "false");
    } else {
        const bool samePlace = diagnostic.followOn && diagnostic.file == m_lastFile && diagnostic.line == m_lastLine &&
                               diagnostic.column == m_lastColumn;
        std::string line;
        const bool hasLine = !samePlace && diagnostic.column > 0 && source && source->Line(diagnostic.line, line);
        Diagnostic shown = diagnostic;
        shown.text = ReadableMessage(diagnostic.text, diagnostic.libraryCode);
        std::fputs(Render(shown, hasLine ? &line : nullptr).c_str(), stderr);
    }
    const zelSevCode counted = diagnostic.followOn ? zelSEV_NOTE : diagnostic.severity;
    m_errors += counted == zelSEV_ERROR;
    m_warnings += counted == zelSEV_WARNING;
    m_lastFile = diagnostic.file;
    m_lastLine = diagnostic.line;
    m_lastColumn = diagnostic.column;
}

void DiagnosticPrinter::ShowIoError(const std::string& file, const std::string& text)
{
    if (m_json) {
        Diagnostic diagnostic;
        diagnostic.file = file;
        diagnostic.code = "IO";
        diagnostic.text = text;
        Show(diagnostic, nullptr);
        return;
    }
    std::fprintf(stderr, "zel: %s\n", text.c_str());
    ++m_errors;
}

void DiagnosticPrinter::ShowGrammarMessages(const std::string& grammar, const CStringList& messages, bool errors)
{
    for (POSITION pos = messages.GetHeadPosition(); pos;) {
        Diagnostic diagnostic;
        diagnostic.file = grammar;
        diagnostic.code = "GRAMMAR";
        diagnostic.severity = errors ? zelSEV_ERROR : zelSEV_WARNING;
        diagnostic.text = static_cast<const char*>(messages.GetNext(pos));
        // "line N: text", and for a warning "line N: warning: text".
        char* end = nullptr;
        const char* text = diagnostic.text.c_str();
        const long line = std::strncmp(text, "line ", 5) == 0 ? std::strtol(text + 5, &end, 10) : 0;
        if (line > 0 && line <= 0x7FFFFFFF && std::strncmp(end, ": ", 2) == 0) {
            diagnostic.line = static_cast<int>(line);
            diagnostic.text = end + 2;
        }
        if (!errors && diagnostic.text.compare(0, 9, "warning: ") == 0)
            diagnostic.text.erase(0, 9);
        Show(diagnostic, nullptr);
    }
}

void DiagnosticPrinter::Summary(size_t files)
{
    if (m_json)
        return;
    std::fprintf(stderr, "%zu files: %d error%s, %d warning%s\n", files, m_errors, m_errors == 1 ? "" : "s", m_warnings,
                 m_warnings == 1 ? "" : "s");
}

DiagnosticPrinter& ToolDiagnostics()
{
    static DiagnosticPrinter printer;
    return printer;
}

}  // namespace zeltool
