// The tool's diagnostics: each report as FILE:LINE:COL: severity: text with the source
// line and a caret (in colour on request), or as one JSON object a line.
#ifndef ZEL_TOOLS_DIAGNOSTICS_H
#define ZEL_TOOLS_DIAGNOSTICS_H

#include <cstdio>
#include <string>

#include "zel/zel.h"

class CStringList;

namespace zeltool {

class SourceLines;

// One message about one place of one file.
struct Diagnostic {
    std::string file;         // the name shown ("<stdin>" for standard input)
    int line = 0;             // 1-based; 0 for no line
    int column = 0;           // 1-based, in bytes; 0 for no column
    zelSevCode severity = zelSEV_ERROR;
    std::string code;         // the library's code name ("EXPECTING"), or the tool's ("IO")
    int libraryCode = -1;     // the zelErrCode of a library report, -1 for the tool's own
    std::string text;         // one message without a trailing line break
    bool followOn = false;    // follows from the report before it
};

// Lines longer than this many bytes are shown as a window of it around the column.
const size_t kSourceWindow = 100;
// Quoted tokens in the library's messages are cut to this many bytes.
const size_t kTokenShown = 60;

// Whether --color=auto colours a stream: it is a terminal and NO_COLOR is unset or empty.
bool AutoColour(int fd);

// The library's message text without the spaces and line breaks around it.
std::string TrimMessage(const char* text);
// The name of a zelErrCode without its prefix ("EXPECTING"); "CODE_<n>" for another value.
std::string CodeName(int code);
// The text as a person reads it: the quoted tokens of the message of code (a zelErrCode,
// or -1 for none) cut to kTokenShown bytes, and the control and stray bytes of every part
// escaped; a text that does not match code's message is escaped whole.
std::string ReadableMessage(const std::string& text, int code);

// The source line and the caret line under byte column of it (tabs repeated, so the
// caret lines up), each with its line break; a window of kSourceWindow bytes for a
// longer line.
std::string SourceExcerpt(const std::string& line, int column, bool colour);

// Shows diagnostics as text on standard error or as JSON lines on standard output, and
// counts the errors and warnings shown.
class DiagnosticPrinter {
public:
    void Configure(bool json, bool colour);
    bool Json() const { return m_json; }

    // Shows one diagnostic; the source line comes from source (may be null) when the
    // diagnostic has a column. A follow-on report is shown as a note, without the source
    // line when it points where the report before it did.
    void Show(const Diagnostic& diagnostic, SourceLines* source);
    // A tool's failure to read or write a file: "zel: text" as text, code "IO" as JSON.
    void ShowIoError(const std::string& file, const std::string& text);
    // The grammar compiler's errors or warnings, "line N: [warning: ]text", as diagnostics
    // of the grammar file with code "GRAMMAR".
    void ShowGrammarMessages(const std::string& grammar, const CStringList& messages, bool errors);
    // "N files: E errors, W warnings" on standard error, as text only.
    void Summary(size_t files);

    // The text form of one diagnostic, with sourceLine (may be null) under it.
    std::string Render(const Diagnostic& diagnostic, const std::string* sourceLine) const;

private:
    bool m_json = false;
    bool m_colour = false;
    int m_errors = 0;
    int m_warnings = 0;
    std::string m_lastFile;  // where the last diagnostic shown pointed
    int m_lastLine = 0;
    int m_lastColumn = 0;
};

// The one printer of the running command.
DiagnosticPrinter& ToolDiagnostics();

}  // namespace zeltool

#endif
