// Error reporting: counting, the report cap, message texts and the message hooks.
#include <cstdarg>
#include <cstdio>
#include <new>

#include "core/counter.h"
#include "zel/parser.h"

namespace {

const int kReportCap = 20;

struct MessageRow {
    zelSevCode severity;  // 0: the code shows nothing
    const char* text;     // printf format of the message
};

// One row per zelErrCode, indexed by code.
const MessageRow kMessages[] = {
    {zelSevCode(0), nullptr},
    {zelSevCode(0), nullptr},
    {zelSEV_ERROR, "Missing $GOAL form: %s."},
    {zelSevCode(0), nullptr},
    {zelSEV_ERROR, "Error opening database file: %s\n"},
    {zelSEV_ERROR, "Input buffer length exceeded.\n"},
    {zelSEV_ERROR, "Unexpected token \"%s\" within construct \"%s\".\n"},
    {zelSEV_ERROR, "Unmatched quotes.\n"},
    {zelSEV_ERROR, "Unexpected end of file.\n"},
    {zelSEV_NOTE, "Skipping rest of form: %s.\n"},
    {zelSEV_ERROR, "Expecting: FORM %s (Token=\"%s\")."},
    {zelSEV_WARNING, "Parsing ended before end of file.\n"},
    {zelSEV_ERROR, "Unexpected end of form \")\".\n"},
    {zelSEV_WARNING, "Keyword \"%s\" can occur only once within the current form.\n"},
    {zelSEV_ERROR, "Expecting end of form \")\" (Token=\"%s\").\n"},
    {zelSEV_ERROR, "Unrecognized form \"%s\".\n"},
    {zelSEV_ERROR, "\n ZEL Parser Error: Internal stack underflow. (%d)\n"},
    {zelSEV_ERROR, "\n ZEL Parser Error: Internal stack overflow. (%d)\n"},
    {zelSevCode(0), nullptr},
    {zelSEV_ERROR, "Unidentified syntax error.\n"},
    {zelSEV_WARNING, "Integer \"%s\" is out of range; the nearest 32-bit value is kept.\n"},
    {zelSEV_WARNING, "Real \"%s\" is out of range; the nearest finite value is kept.\n"},
    {zelSEV_WARNING, "Number \"%s\" is not well formed; the value of its leading part is kept.\n"},
    {zelSEV_ERROR, "NUL byte in the input; reading stops here.\n"},
    {zelSEV_ERROR, "Error reading database file: %s\n"},
    {zelSEV_ERROR, "Malformed grammar tables: %s.\n"},
};
static_assert(sizeof(kMessages) / sizeof(kMessages[0]) == zelERR_GRAMMAR_TABLES + 1,
              "one message row per error code");

}  // namespace

void CZelParser::ReportError(zelErrCode code, int arg) { Report(code, arg, m_ifname); }

void CZelParser::Report(zelErrCode code, int arg, const char* fileName)
{
    if (m_reportsOff == 1)
        return;
    zel::CountUp(m_errors);  // the parse entries may have counted past the cap without a report
    if (m_errors > kReportCap) {
        m_reportsOff = 1;
        return;
    }
    if (code < zelERR_NONE || code > zelERR_GRAMMAR_TABLES || !kMessages[code].text)
        return;

    const char* keyword = nullptr;
    if (arg >= 0 && HasGrammar())
        keyword = GetSemanticKeyword(arg);
    if (!keyword)
        keyword = "";

    // Without memory to format the message, its text is shown unformatted: a report is
    // never lost and never throws.
    CString text;
    const char* shown = kMessages[code].text;
    try {
        switch (code) {
        case zelERR_MISSING_GOAL:
            if (m_errno != 0)
                return;
            m_errno = zelERR_MISSING_GOAL;
            text.Format(kMessages[code].text, keyword);
            break;
        case zelERR_OPEN_FILE:
        case zelERR_READ_FILE:
            text.Format(kMessages[code].text, fileName ? fileName : "");
            break;
        case zelERR_UNEXPECTED_TOKEN:
            ReportError(zelERR_UNRECOGNIZED_FORM, 0);
            text.Format(kMessages[code].text, m_tok, keyword);
            break;
        case zelERR_SKIPPING_FORM:
        case zelERR_ONLY_ONCE:
            text.Format(kMessages[code].text, keyword);
            break;
        case zelERR_EXPECTING:
            text.Format(kMessages[code].text, keyword, m_tok);
            break;
        case zelERR_EXPECTING_EOFORM:
        case zelERR_INT_RANGE:
        case zelERR_REAL_RANGE:
        case zelERR_NUMBER_TEXT:
            text.Format(kMessages[code].text, m_tok);
            break;
        case zelERR_UNRECOGNIZED_FORM: {
            void* unused = nullptr;
            if (m_keywords.Lookup(m_tok, unused)) {
                --m_errors;
                return;
            }
            text.Format(kMessages[code].text, m_tok);
            break;
        }
        case zelERR_GRAMMAR_TABLES:
            m_errno = zelERRNO_GRAMMAR;
            text.Format(kMessages[code].text, m_grammarFault.c_str());
            break;
        case zelERR_STACK_UNDERFLOW:
        case zelERR_STACK_OVERFLOW:
            m_errno = code;
            text.Format(kMessages[code].text, m_top);
            break;
        default:
            text = kMessages[code].text;
            break;
        }
        shown = text;
    } catch (const std::bad_alloc&) {
    }

    PrintError(kMessages[code].severity, m_lineNo, shown);

    switch (code) {
    case zelERR_SKIPPING_FORM:
    case zelERR_PARSING_ENDED:
    case zelERR_INT_RANGE:
    case zelERR_REAL_RANGE:
    case zelERR_NUMBER_TEXT:
        --m_errors;
        break;
    case zelERR_EXPECTING_EOFORM:
        ++m_errors;
        break;
    default:
        break;
    }
}

void CZelParser::PrintError(zelSevCode severity, int line, const char* text)
{
    switch (severity) {
    case zelSEV_NOTE:
        WriteMsg("Note: Line %d: ", line);
        break;
    case zelSEV_WARNING:
        WriteMsg("Warning: Line %d: ", line);
        break;
    case zelSEV_ERROR:
        WriteMsg("Error: Line %d: ", line);
        break;
    default:
        break;
    }
    if (text)
        WriteMsg("%s", text);
}

void CZelParser::WriteMsg(const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
}

void CZelParser::ErrorSummary() {}
