// Grammar tables for the tests, laid out row by row.
#include "support/test_grammars.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace zeltest {

namespace {

zelKeywordS Kw(const char* name, int type, int sem, int accept = 1)
{
    zelKeywordS k{{}, accept, type, sem};
    std::strncpy(k.name, name, sizeof k.name - 1);
    return k;
}

zelSemanticS Row(int keyword, int flags, int alt, int next)
{
    return zelSemanticS{keyword, flags, 0, alt, next, nullptr};
}

const int kRepHead = S_OPTG | S_REPG | S_GRPHEAD;
const int kOnce = S_REQ | S_ONCE;

// The text of a value node: reals with six decimals, strings in quotes, a literal its keyword.
std::string Value(const CZelOid* n)
{
    char real[64];
    switch (n->GetObjType()) {
    case zelKW_INTTOK: return std::to_string(n->GetIntval());
    case zelKW_REALTOK:
        std::snprintf(real, sizeof real, "%f", n->GetRealval());
        return real;
    case zelKW_STRTOK: return std::string("\"") + (n->GetStrval() ? n->GetStrval() : "") + "\"";
    case zelKW_IDENT: return n->GetIdent() ? n->GetIdent() : "";
    default: return n->GetKeyword();
    }
}

}  // namespace

zelParserS* Grammar::get()
{
    descriptor = {rows.data(), static_cast<int>(rows.size()), keywords.data(), static_cast<int>(keywords.size())};
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
        Kw("", zelKW_DUMMY, 0), Kw(")", zelKW_EOFORM, 0), Kw("ident", zelKW_IDENT, 0),               // 0-2
        Kw("integer", zelKW_INTTOK, 0), Kw("real", zelKW_REALTOK, 0), Kw("string", zelKW_STRTOK, 0),  // 3-5
        Kw("width", zelKW_INTTOK, 0), Kw("$GOAL", zelKW_COMPOSITE, 1), Kw("design", zelKW_FORM, 3),  // 6-8
        Kw("version", zelKW_FORM, 7), Kw("cell", zelKW_FORM, 11), Kw("port", zelKW_FORM, 16),        // 9-11
        Kw("net", zelKW_FORM, 23), Kw("INPUT", zelKW_LIT, 0), Kw("OUTPUT", zelKW_LIT, 0),            // 12-14
        Kw("INOUT", zelKW_LIT, 0), Kw("direction", zelKW_COMPOSITE, 20),                             // 15-16
        Kw("library", zelKW_FORM, 27), Kw("cellitem", zelKW_COMPOSITE, 14),                          // 17-18
    };
    g.rows = {
        Row(0, 0, 0, 0),                        // 0 never an element
        Row(NK_DESIGN, S_OPT, 2, 0), Row(NK_LIBRARY, S_OPT, 0, 0),            // 1-2 goal: design | library
        // 3-6 design: ident version? cell* ")"
        Row(NK_IDENT, kOnce, 0, 4), Row(NK_VERSION, S_OPT, 0, 5), Row(NK_CELL, kRepHead, 0, 6), Row(NK_EOF, S_REQ, 0, 0),
        // 7-10 version: int int int ")"
        Row(NK_INT, kOnce, 0, 8), Row(NK_INT, kOnce, 0, 9), Row(NK_INT, kOnce, 0, 10), Row(NK_EOF, S_REQ, 0, 0),
        Row(NK_IDENT, kOnce, 0, 12), Row(NK_CELLITEM, kRepHead, 0, 13), Row(NK_EOF, S_REQ, 0, 0),  // 11-13 cell: ident cellitem* ")"
        Row(NK_PORT, S_OPT, 15, 0), Row(NK_NET, S_OPT, 0, 0),                 // 14-15 cellitem: port | net
        // 16-19 port: ident direction width? ")"
        Row(NK_IDENT, kOnce, 0, 17), Row(NK_DIRECTION, kOnce, 0, 18), Row(NK_WIDTH, S_OPT, 0, 19), Row(NK_EOF, S_REQ, 0, 0),
        Row(NK_INPUT, S_LIT, 21, 0), Row(NK_OUTPUT, S_LIT, 22, 0), Row(NK_INOUT, S_LIT, 0, 0),  // 20-22 direction
        // 23-26 net: ident string? real* ")"
        Row(NK_IDENT, kOnce, 0, 24), Row(NK_STRING, S_OPT, 0, 25), Row(NK_REAL, kRepHead, 0, 26), Row(NK_EOF, S_REQ, 0, 0),
        // 27-29 library: ")" (empty library) string* ")" (not exactly S_REQ: ")" first may close it)
        Row(NK_EOF, S_OPT, 0, 28), Row(NK_STRING, kRepHead, 0, 29), Row(NK_EOF, kOnce, 0, 0),
    };
    return g;
}

// The edge-case grammar: one form per corner of the form parser, each a goal alternative.
Grammar EdgeGrammar()
{
    Grammar g;
    g.keywords = {
        Kw("", zelKW_DUMMY, 0), Kw(")", zelKW_EOFORM, 0), Kw("ident", zelKW_IDENT, 0),               // 0-2
        Kw("integer", zelKW_INTTOK, 0), Kw("real", zelKW_REALTOK, 0), Kw("string", zelKW_STRTOK, 0),  // 3-5
        Kw("unused", zelKW_DUMMY, 0), Kw("$GOAL", zelKW_COMPOSITE, 1), Kw("optint", zelKW_FORM, 11),  // 6-8
        Kw("reqint", zelKW_FORM, 14), Kw("reqend", zelKW_FORM, 15), Kw("ints", zelKW_FORM, 17),      // 9-11
        Kw("holder", zelKW_FORM, 19), Kw("shy", zelKW_FORM, 21, 0), Kw("reqshy", zelKW_FORM, 22),    // 12-14 (shy: 0)
        Kw("exact", zelKW_FORM, 24), Kw("once", zelKW_FORM, 26), Kw("nest", zelKW_FORM, 28),         // 15-17
    };
    g.rows = {
        Row(0, 0, 0, 0),                        // 0
        Row(EK_OPTINT, S_OPT, 2, 0), Row(EK_REQINT, S_OPT, 3, 0), Row(EK_REQEND, S_OPT, 4, 0),  // 1-3 goal alternatives
        Row(EK_INTS, S_OPT, 5, 0), Row(EK_HOLDER, S_OPT, 6, 0), Row(EK_REQSHY, S_OPT, 7, 0),    // 4-6
        Row(EK_EXACT, S_OPT, 8, 0), Row(EK_ONCE, S_OPT, 9, 0), Row(EK_NEST, S_OPT, 10, 0),      // 7-9
        Row(EK_SHY, S_OPT, 0, 0),                                                               // 10 (the last)
        Row(NK_EOF, S_OPT, 0, 12), Row(NK_INT, S_OPT, 0, 13), Row(NK_EOF, kOnce, 0, 0),  // 11-13 optint: ")" first, int?, ")" (not exactly S_REQ)
        Row(NK_INT, S_REQ, 0, 0),                                         // 14 reqint: int (no end of form)
        Row(NK_INT, S_REQ, 0, 16), Row(NK_EOF, S_REQ, 0, 0),              // 15-16 reqend: int ")"
        Row(NK_INT, kRepHead, 0, 18), Row(NK_EOF, S_REQ, 0, 0),           // 17-18 ints: int* ")"
        Row(EK_SHY, S_OPT, 0, 20), Row(NK_EOF, S_REQ, 0, 0),              // 19-20 holder: shy? ")"
        Row(NK_EOF, S_REQ, 0, 0),                                         // 21 shy: ")"
        Row(EK_SHY, S_REQ | S_ONCE, 0, 23), Row(NK_EOF, S_REQ, 0, 0),     // 22-23 reqshy: shy ")"
        Row(NK_EOF, 0, 0, 25), Row(NK_INT, S_REQ, 0, 0),                  // 24-25 exact: ")" first, int flagged exactly S_REQ
        Row(NK_EOF, 0, 0, 27), Row(NK_INT, S_REQ | S_ONCE, 0, 0),         // 26-27 once: ")" first, int flagged S_REQ|S_ONCE
        Row(EK_NEST, kRepHead, 0, 29), Row(NK_EOF, S_REQ, 0, 0),          // 28-29 nest: nest* ")"
    };
    return g;
}

// The editing grammar: small rules for grammar searches and editing, each form a goal alternative.
Grammar EditGrammar()
{
    Grammar g;
    g.keywords = {
        Kw("", zelKW_DUMMY, 0), Kw(")", zelKW_EOFORM, 0), Kw("ident", zelKW_IDENT, 0),               // 0-2
        Kw("integer", zelKW_INTTOK, 0), Kw("real", zelKW_REALTOK, 0), Kw("string", zelKW_STRTOK, 0),  // 3-5
        Kw("name", zelKW_IDENT, 0), Kw("$GOAL", zelKW_COMPOSITE, 1), Kw("probe", zelKW_FORM, 4),  // 6-8 (6: 2nd ident)
        Kw("X", zelKW_LIT, 0), Kw("named", zelKW_FORM, 8), Kw("bag", zelKW_FORM, 11),                // 9-11
    };
    g.rows = {
        Row(0, 0, 0, 0),                        // 0
        Row(ED_PROBE, S_OPT, 2, 0), Row(ED_NAMED, S_OPT, 3, 0), Row(ED_BAG, S_OPT, 0, 0),  // 1-3 goal
        Row(NK_INT, S_OPT, 0, 5), Row(NK_IDENT, S_OPT, 0, 6), Row(ED_X, S_OPT, 0, 7), Row(NK_EOF, S_REQ, 0, 0),  // 4-7 probe: int? ident? X? ")"
        Row(ED_NAME, S_OPT, 0, 9), Row(NK_INT, S_OPT, 0, 10), Row(NK_EOF, S_REQ, 0, 0),  // 8-10 named: name? int? ")"
        Row(NK_IDENT, kRepHead, 0, 12), Row(NK_EOF, S_REQ, 0, 0),         // 11-12 bag: ident* ")"
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

std::vector<std::string> Strings(const CStringList& list)
{
    std::vector<std::string> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(static_cast<const char*>(list.GetNext(pos)));
    return out;
}

int ParseLine(CZelParser& parser, const std::string& text)
{
    CStringList lines;
    lines.AddTail(text.c_str());
    return parser.Parse(&lines);
}

int ParseText(CZelParser& parser, const std::string& text, int engine)
{
    return parser.Parse(TempFile(text).c_str(), engine);
}

std::string TempFile(const std::string& text, const std::string& suffix)
{
    static struct Made {
        std::vector<std::string> names;
        ~Made() { for (const std::string& name : names) std::remove(name.c_str()); }
    } made;
    char name[] = "/tmp/zeltestXXXXXX";
    close(mkstemp(name));
    const std::string path = std::string(name) + suffix;
    std::rename(name, path.c_str());
    made.names.push_back(path);
    WriteText(path, text);
    return path;
}

void WriteText(const std::string& name, const std::string& text)
{
    std::ofstream(name, std::ios::binary) << text;
}

std::string ReadFile(const std::string& name)
{
    std::ostringstream out;
    out << std::ifstream(name, std::ios::binary).rdbuf();
    return out.str();
}

std::string Shape(const CZelOid* node)
{
    if (!node || node->GetKeywordId() == 0)
        return node ? "<free>" : "<null>";
    // Iterative walk: a form's text opens before its children and closes after them; open
    // holds the forms entered on the way down from node.
    std::string out;
    std::vector<const CZelOid*> open;
    const CZelOid* n = node;
    while (n) {
        if (!out.empty() && out.back() != '(')
            out += ' ';
        const bool form = n->GetObjType() == zelKW_FORM;
        out += form ? std::string("(") + n->GetKeyword() + (n->GetFirstObj() ? "" : ")") : Value(n);
        if (form && n->GetFirstObj()) {
            open.push_back(n);
            n = n->GetFirstObj();
            continue;
        }
        while (n != node && !n->GetNextObj() && !open.empty()) {
            n = open.back();
            open.pop_back();
            out += ")";
        }
        n = n == node ? nullptr : n->GetNextObj();
    }
    return out;
}

std::string Shapes(const CZelParser& parser)
{
    std::string out;
    for (int i = 0; i < parser.GetGoalCount(); ++i)
        out += (i ? " " : "") + Shape(parser.GetGoalAt(i));
    return out;
}

std::string WrittenList(CZelParser& parser)
{
    std::string text;
    for (int i = 0; i < parser.GetGoalCount(); ++i) {
        CStringList list;
        parser.WriteList(parser.GetGoalAt(i), 0, &list);
        for (POSITION pos = list.GetHeadPosition(); pos;)
            text += list.GetNext(pos);
    }
    return text;
}

std::string StreamText(CZelParser& parser, const CZelOid* node, int level, int withSiblings, int* result)
{
    char* buffer = nullptr;
    size_t size = 0;
    FILE* stream = open_memstream(&buffer, &size);
    const int r = parser.WriteFile(stream, node, level, withSiblings);
    std::fclose(stream);
    const std::string text(buffer, size);
    std::free(buffer);
    if (result)
        *result = r;
    return text;
}

const CZelOid* Child(const CZelOid* node, int n)
{
    for (node = node->GetFirstObj(); node && n--;)
        node = node->GetNextObj();
    return node;
}

std::string Repeat(const std::string& piece, int count)
{
    std::string text;
    while (count-- > 0)
        text += piece;
    return text;
}

}  // namespace zeltest
