// Grammar tables for the tests, laid out row by row.
#include "support/test_grammars.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace zeltest {

namespace {

zelKeywordS Kw(const char* name, int type, int sem, int accept = 1)
{
    zelKeywordS k{};
    std::strncpy(k.name, name, sizeof k.name - 1);
    k.accept = accept;
    k.type = type;
    k.semanticId = sem;
    return k;
}

zelSemanticS Row(int keyword, int flags, int alt, int next)
{
    return zelSemanticS{keyword, flags, 0, alt, next, nullptr};
}

const int kRepHead = S_OPTG | S_REPG | S_GRPHEAD;
const int kOnce = S_REQ | S_ONCE;

}  // namespace

zelParserS* Grammar::get()
{
    descriptor.semTable = rows.data();
    descriptor.semCount = static_cast<int>(rows.size());
    descriptor.kwTable = keywords.data();
    descriptor.kwCount = static_cast<int>(keywords.size());
    return &descriptor;
}

// The netlist grammar, a realistic little language:
//   goal      design | library
//   design  = ident version? cell* ")"
//   version = int int int ")"
//   cell    = ident cellitem* ")"          cellitem = port | net   (a composite)
//   port    = ident direction width? ")"   direction = INPUT | OUTPUT | INOUT
//   net     = ident string? real* ")"
//   library = ")" string* ")"              (may be empty: ")" first)
Grammar NetlistGrammar()
{
    Grammar g;
    g.keywords = {
        Kw("", zelKW_DUMMY, 0),                 // 0
        Kw(")", zelKW_EOFORM, 0),               // 1 end of form
        Kw("ident", zelKW_IDENT, 0),            // 2 identifier values
        Kw("integer", zelKW_INTTOK, 0),         // 3 integer values
        Kw("real", zelKW_REALTOK, 0),           // 4 real values
        Kw("string", zelKW_STRTOK, 0),          // 5 string values
        Kw("width", zelKW_INTTOK, 0),           // 6 a second integer keyword
        Kw("$GOAL", zelKW_COMPOSITE, 1),        // 7 the goal
        Kw("design", zelKW_FORM, 3),            // 8
        Kw("version", zelKW_FORM, 7),           // 9
        Kw("cell", zelKW_FORM, 11),             // 10
        Kw("port", zelKW_FORM, 16),             // 11
        Kw("net", zelKW_FORM, 23),              // 12
        Kw("INPUT", zelKW_LIT, 0),              // 13
        Kw("OUTPUT", zelKW_LIT, 0),             // 14
        Kw("INOUT", zelKW_LIT, 0),              // 15
        Kw("direction", zelKW_COMPOSITE, 20),   // 16
        Kw("library", zelKW_FORM, 27),          // 17
        Kw("cellitem", zelKW_COMPOSITE, 14),    // 18
    };
    g.rows = {
        Row(0, 0, 0, 0),                        // 0 never an element
        Row(NK_DESIGN, S_OPT, 2, 0),            // 1 goal: design
        Row(NK_LIBRARY, S_OPT, 0, 0),           // 2      | library
        Row(NK_IDENT, kOnce, 0, 4),             // 3 design: ident
        Row(NK_VERSION, S_OPT, 0, 5),           // 4         version?
        Row(NK_CELL, kRepHead, 0, 6),           // 5         cell*
        Row(NK_EOF, S_REQ, 0, 0),               // 6         ")"
        Row(NK_INT, kOnce, 0, 8),               // 7 version: int
        Row(NK_INT, kOnce, 0, 9),               // 8          int
        Row(NK_INT, kOnce, 0, 10),              // 9          int
        Row(NK_EOF, S_REQ, 0, 0),               // 10         ")"
        Row(NK_IDENT, kOnce, 0, 12),            // 11 cell: ident
        Row(NK_CELLITEM, kRepHead, 0, 13),      // 12       cellitem*
        Row(NK_EOF, S_REQ, 0, 0),               // 13       ")"
        Row(NK_PORT, S_OPT, 15, 0),             // 14 cellitem: port
        Row(NK_NET, S_OPT, 0, 0),               // 15           | net
        Row(NK_IDENT, kOnce, 0, 17),            // 16 port: ident
        Row(NK_DIRECTION, kOnce, 0, 18),        // 17       direction
        Row(NK_WIDTH, S_OPT, 0, 19),            // 18       width?
        Row(NK_EOF, S_REQ, 0, 0),               // 19       ")"
        Row(NK_INPUT, S_LIT, 21, 0),            // 20 direction: INPUT
        Row(NK_OUTPUT, S_LIT, 22, 0),           // 21            | OUTPUT
        Row(NK_INOUT, S_LIT, 0, 0),             // 22            | INOUT
        Row(NK_IDENT, kOnce, 0, 24),            // 23 net: ident
        Row(NK_STRING, S_OPT, 0, 25),           // 24      string?
        Row(NK_REAL, kRepHead, 0, 26),          // 25      real*
        Row(NK_EOF, S_REQ, 0, 0),               // 26      ")"
        Row(NK_EOF, S_OPT, 0, 28),              // 27 library: ")" (empty library)
        Row(NK_STRING, kRepHead, 0, 29),        // 28          string*
        Row(NK_EOF, kOnce, 0, 0),               // 29          ")" (not exactly S_REQ, so that
                                                //              ")" first may close the form)
    };
    return g;
}

// The edge-case grammar: one form per corner of the form parser. Every form is a goal
// alternative.
Grammar EdgeGrammar()
{
    Grammar g;
    g.keywords = {
        Kw("", zelKW_DUMMY, 0),                 // 0
        Kw(")", zelKW_EOFORM, 0),               // 1
        Kw("ident", zelKW_IDENT, 0),            // 2
        Kw("integer", zelKW_INTTOK, 0),         // 3
        Kw("real", zelKW_REALTOK, 0),           // 4
        Kw("string", zelKW_STRTOK, 0),          // 5
        Kw("unused", zelKW_DUMMY, 0),           // 6
        Kw("$GOAL", zelKW_COMPOSITE, 1),        // 7
        Kw("optint", zelKW_FORM, 11),           // 8
        Kw("reqint", zelKW_FORM, 14),           // 9
        Kw("reqend", zelKW_FORM, 15),           // 10
        Kw("ints", zelKW_FORM, 17),             // 11
        Kw("holder", zelKW_FORM, 19),           // 12
        Kw("shy", zelKW_FORM, 21, 0),           // 13 accept word 0
        Kw("reqshy", zelKW_FORM, 22),           // 14
        Kw("exact", zelKW_FORM, 24),            // 15
        Kw("once", zelKW_FORM, 26),             // 16
        Kw("nest", zelKW_FORM, 28),             // 17
    };
    g.rows = {
        Row(0, 0, 0, 0),                        // 0
        Row(EK_OPTINT, S_OPT, 2, 0),            // 1 goal: optint
        Row(EK_REQINT, S_OPT, 3, 0),            // 2 | reqint
        Row(EK_REQEND, S_OPT, 4, 0),            // 3 | reqend
        Row(EK_INTS, S_OPT, 5, 0),              // 4 | ints
        Row(EK_HOLDER, S_OPT, 6, 0),            // 5 | holder
        Row(EK_REQSHY, S_OPT, 7, 0),            // 6 | reqshy
        Row(EK_EXACT, S_OPT, 8, 0),             // 7 | exact
        Row(EK_ONCE, S_OPT, 9, 0),              // 8 | once
        Row(EK_NEST, S_OPT, 10, 0),             // 9 | nest
        Row(EK_SHY, S_OPT, 0, 0),               // 10 | shy
        Row(1, S_OPT, 0, 12),                   // 11 optint: ")" first
        Row(3, S_OPT, 0, 13),                   // 12         int?
        Row(1, kOnce, 0, 0),                    // 13         ")" (not exactly S_REQ, so that
                                                //             ")" first may close the form)
        Row(3, S_REQ, 0, 0),                    // 14 reqint: int (no end of form)
        Row(3, S_REQ, 0, 16),                   // 15 reqend: int
        Row(1, S_REQ, 0, 0),                    // 16         ")"
        Row(3, kRepHead, 0, 18),                // 17 ints: int*
        Row(1, S_REQ, 0, 0),                    // 18       ")"
        Row(EK_SHY, S_OPT, 0, 20),              // 19 holder: shy?
        Row(1, S_REQ, 0, 0),                    // 20         ")"
        Row(1, S_REQ, 0, 0),                    // 21 shy: ")"
        Row(EK_SHY, S_REQ | S_ONCE, 0, 23),     // 22 reqshy: shy
        Row(1, S_REQ, 0, 0),                    // 23         ")"
        Row(1, 0, 0, 25),                       // 24 exact: ")" first
        Row(3, S_REQ, 0, 0),                    // 25        int, flagged exactly S_REQ
        Row(1, 0, 0, 27),                       // 26 once: ")" first
        Row(3, S_REQ | S_ONCE, 0, 0),           // 27       int, flagged S_REQ|S_ONCE
        Row(EK_NEST, kRepHead, 0, 29),          // 28 nest: nest*
        Row(1, S_REQ, 0, 0),                    // 29       ")"
    };
    return g;
}

void RecordingParser::WriteMsg(const char* format, ...)
{
    char buffer[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    output += buffer;
}

void RecordingParser::PrintError(zelSevCode severity, int line, const char* text)
{
    reports.push_back(std::to_string(severity) + "@" + std::to_string(line) + ":" + (text ? text : ""));
    CZelParser::PrintError(severity, line, text);
}

std::string TempFile(const std::string& text, const std::string& suffix)
{
    char name[] = "/tmp/zeltestXXXXXX";
    int fd = mkstemp(name);
    close(fd);
    std::string path = std::string(name) + suffix;
    std::rename(name, path.c_str());
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string ReadFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

namespace {

void AppendValue(std::string& out, const CZelOid* n)
{
    char number[64];
    switch (n->GetObjType()) {
    case zelKW_INTTOK:
        out += std::to_string(n->GetIntval());
        break;
    case zelKW_REALTOK:
        std::snprintf(number, sizeof number, "%f", n->GetRealval());
        out += number;
        break;
    case zelKW_STRTOK:
        out += std::string("\"") + (n->GetStrval() ? n->GetStrval() : "") + "\"";
        break;
    case zelKW_IDENT:
        out += n->GetIdent() ? n->GetIdent() : "";
        break;
    default:
        out += n->GetKeyword();
        break;
    }
}

}  // namespace

std::string Shape(const CZelOid* node)
{
    if (!node)
        return "<null>";
    if (node->GetKeywordId() == 0)
        return "<free>";
    // Iterative walk: the text of a form opens before its children and closes after them.
    std::string out;
    std::vector<const CZelOid*> open;
    const CZelOid* n = node;
    while (n) {
        if (!out.empty() && out.back() != '(')
            out += ' ';
        if (n->GetObjType() == zelKW_FORM) {
            out += "(";
            out += n->GetKeyword();
            if (n->GetFirstObj()) {
                open.push_back(n);
                n = n->GetFirstObj();
                continue;
            }
            out += ")";
        } else {
            AppendValue(out, n);
        }
        while (n && n != node && !n->GetNextObj() && !open.empty()) {
            n = open.back();
            open.pop_back();
            out += ")";
        }
        if (!n || n == node)
            break;
        n = n->GetNextObj();
    }
    return out;
}

std::string Shapes(const CZelParser& parser)
{
    std::string out;
    for (int i = 0; i < parser.GetGoalCount(); ++i) {
        if (i)
            out += ' ';
        out += Shape(parser.GetGoalAt(i));
    }
    return out;
}

// The editing grammar: small rules for the grammar searches and editing by keyword.
// Every form is a goal alternative.
Grammar EditGrammar()
{
    Grammar g;
    g.keywords = {
        Kw("", zelKW_DUMMY, 0),                 // 0
        Kw(")", zelKW_EOFORM, 0),               // 1
        Kw("ident", zelKW_IDENT, 0),            // 2
        Kw("integer", zelKW_INTTOK, 0),         // 3
        Kw("real", zelKW_REALTOK, 0),           // 4
        Kw("string", zelKW_STRTOK, 0),          // 5
        Kw("name", zelKW_IDENT, 0),             // 6 an identifier keyword other than 2
        Kw("$GOAL", zelKW_COMPOSITE, 1),        // 7
        Kw("probe", zelKW_FORM, 4),             // 8
        Kw("X", zelKW_LIT, 0),                  // 9
        Kw("named", zelKW_FORM, 8),             // 10
        Kw("bag", zelKW_FORM, 11),              // 11
    };
    g.rows = {
        Row(0, 0, 0, 0),                        // 0
        Row(ED_PROBE, S_OPT, 2, 0),             // 1 goal: probe
        Row(ED_NAMED, S_OPT, 3, 0),             // 2 | named
        Row(ED_BAG, S_OPT, 0, 0),               // 3 | bag
        Row(3, S_OPT, 0, 5),                    // 4 probe: int?
        Row(2, S_OPT, 0, 6),                    // 5        ident?
        Row(ED_X, S_OPT, 0, 7),                 // 6        X?
        Row(1, S_REQ, 0, 0),                    // 7        ")"
        Row(ED_NAME, S_OPT, 0, 9),              // 8 named: name?
        Row(3, S_OPT, 0, 10),                   // 9        int?
        Row(1, S_REQ, 0, 0),                    // 10       ")"
        Row(2, kRepHead, 0, 12),                // 11 bag: ident*
        Row(1, S_REQ, 0, 0),                    // 12      ")"
    };
    return g;
}

}  // namespace zeltest
