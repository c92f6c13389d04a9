// Error codes and severities of the reports a parser makes.
#ifndef ZEL_DIAG_H
#define ZEL_DIAG_H

// Code passed to CZelParser::ReportError. Codes without a message count and show nothing.
enum zelErrCode {
    zelERR_NONE = 0,
    zelERR_RESERVED1 = 1,
    zelERR_MISSING_GOAL = 2,        // "Missing $GOAL form: %s."
    zelERR_RESERVED3 = 3,
    zelERR_OPEN_FILE = 4,           // "Error opening database file: %s\n"
    zelERR_BUFFER_LENGTH = 5,       // "Input buffer length exceeded.\n"
    zelERR_UNEXPECTED_TOKEN = 6,    // "Unexpected token \"%s\" within construct \"%s\".\n"
    zelERR_UNMATCHED_QUOTES = 7,    // "Unmatched quotes.\n"
    zelERR_UNEXPECTED_EOF = 8,      // "Unexpected end of file.\n"
    zelERR_SKIPPING_FORM = 9,       // note: "Skipping rest of form: %s.\n"
    zelERR_EXPECTING = 10,          // "Expecting: FORM %s (Token=\"%s\")."
    zelERR_PARSING_ENDED = 11,      // warning: "Parsing ended before end of file.\n"
    zelERR_UNEXPECTED_EOFORM = 12,  // "Unexpected end of form \")\".\n"
    zelERR_ONLY_ONCE = 13,          // warning: "Keyword \"%s\" can occur only once ..."
    zelERR_EXPECTING_EOFORM = 14,   // "Expecting end of form \")\" (Token=\"%s\").\n"
    zelERR_UNRECOGNIZED_FORM = 15,  // "Unrecognized form \"%s\".\n"
    zelERR_STACK_UNDERFLOW = 16,    // "\n ZEL Parser Error: Internal stack underflow. (%d)\n"
    zelERR_STACK_OVERFLOW = 17,     // "\n ZEL Parser Error: Internal stack overflow. (%d)\n"
    zelERR_RESERVED18 = 18,
    zelERR_SYNTAX = 19,             // "Unidentified syntax error.\n"
    zelERR_INT_RANGE = 20,          // warning: an integer token outside the 32-bit range
    zelERR_REAL_RANGE = 21,         // warning: a real token beyond the double range
    zelERR_NUMBER_TEXT = 22,        // warning: a number token that is not a well-formed number
    zelERR_NUL_BYTE = 23,           // a NUL byte in the input; reading stops there
    zelERR_READ_FILE = 24,          // "Error reading database file: %s\n"
    zelERR_GRAMMAR_TABLES = 25      // malformed grammar tables (a row and a field named)
};

// Error states that GetErrno returns beside the codes above (0 none, 2 missing goal, 3 no
// form, 4 file not opened or output failed, 5 dump failed, 16 and 17 stack).
enum { zelERRNO_GRAMMAR = 6 };  // the grammar tables are malformed

// Severity passed to CZelParser::PrintError.
enum zelSevCode {
    zelSEV_NOTE = 1,
    zelSEV_WARNING = 2,
    zelSEV_ERROR = 3
};

// What the report being shown is about, for the message hooks (CZelParser::GetReport).
// line and column are 1-based, columns in bytes; both are 0 when the report is about no
// place in the input.
struct zelReportS {
    int code;      // the zelErrCode of the report
    int line;      // where the token the report is about starts; for a form left open at
    int column;    // the end of the input, where the form was opened
    int followOn;  // 1 when the report follows from the report before it: nothing was read into
                   // the tree since, and no recovery (SetRecovery) ended the problem
};

#endif
