// Grammar tables used across the tests, and a parser that records its messages.
#ifndef ZEL_TESTS_TEST_GRAMMARS_H
#define ZEL_TESTS_TEST_GRAMMARS_H

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/conventions.h"
#include "zel/zel.h"

namespace zeltest {

// Keyword ids of the netlist grammar (see test_grammars.cpp for the rules).
enum NetKw {
    NK_DUMMY = zel::kNoKeyword, NK_EOF = zel::kEndOfFormRow, NK_IDENT = zel::kIdentKeyword, NK_INT = zel::kIntKeyword,
    NK_REAL = zel::kRealKeyword, NK_STRING = zel::kStringKeyword, NK_WIDTH = 6, NK_GOAL = zel::kGoalKeyword, NK_DESIGN = 8, NK_VERSION = 9, NK_CELL = 10, NK_PORT = 11,
    NK_NET = 12, NK_INPUT = 13, NK_OUTPUT = 14, NK_INOUT = 15, NK_DIRECTION = 16,
    NK_LIBRARY = 17, NK_CELLITEM = 18, NK_COUNT
};

// Semantic rows of the netlist grammar that the tests name.
enum NetRow {
    NR_DESIGN = 1, NR_DESIGN_NAME = 3, NR_VERSION_INT = 7, NR_CELL_ITEMS = 12, NR_CELL_END = 13, NR_ITEM_PORT = 14,
    NR_ITEM_NET = 15, NR_PORT_NAME = 16, NR_PORT_END = 19, NR_INPUT = 20, NR_NET_STRING = 24, NR_NET_REAL = 25
};

// Keyword ids of the edge-case grammar.
enum EdgeKw {
    EK_OPTINT = 8,    // (optint)   ")" first, then an optional int, then ")"
    EK_REQINT = 9,    // (reqint)   one required int, no end-of-form element
    EK_REQEND = 10,   // (reqend)   required int, then ")"
    EK_INTS = 11,     // (ints)     int* then ")"
    EK_HOLDER = 12,   // (holder)   optional (shy), then ")"
    EK_SHY = 13,      // (shy)      accept word 0; content ")"
    EK_REQSHY = 14,   // (reqshy)   required (shy), then ")"
    EK_EXACT = 15,    // (exact)    ")" first, then an element flagged exactly S_REQ
    EK_ONCE = 16,     // (once)     ")" first, then an element flagged S_REQ|S_ONCE
    EK_NEST = 17,     // (nest)     (nest)* then ")"
    EK_COUNT = 18
};

// A grammar whose tables live as long as the object; the tables are writable.
struct Grammar {
    std::vector<zelKeywordS> keywords;
    std::vector<zelSemanticS> rows;
    zelParserS descriptor;
    zelParserS* get();
};

Grammar NetlistGrammar();
Grammar EdgeGrammar();

// A parser that keeps every message it writes, and every report whole.
class RecordingParser : public CZelParser {
public:
    using CZelParser::CZelParser;
    void WriteMsg(const char* format, ...) override __attribute__((format(printf, 2, 3)));
    void PrintError(zelSevCode severity, int line, const char* text) override;
    void ErrorSummary() override { ++summaries; }

    std::string output;                 // every WriteMsg fragment, joined
    std::vector<std::string> reports;   // "<severity>@<line>:<text>" per PrintError
    int summaries = 0;
};

// A list of the texts given, in order.
struct TextList : CStringList {
    TextList(std::initializer_list<const char*> texts) { for (const char* text : texts) AddTail(text); }
};

// The strings of a list, in order.
std::vector<std::string> Strings(const CStringList& list);
// Parses text as a line list of one string.
int ParseLine(CZelParser& parser, const std::string& text);
// Parses text from a temporary file with the engine given.
int ParseText(CZelParser& parser, const std::string& text, int engine = 0);
// Writes text to a new temporary file and returns its name; the file goes when the test
// program ends.
std::string TempFile(const std::string& text, const std::string& suffix = ".zel");
std::string ReadFile(const std::string& name);
void WriteText(const std::string& name, const std::string& text);

// A compact view of a tree: "(design top (cell a (port p INPUT)))"; reals with six
// decimals, strings in quotes, a free node as "<free>".
std::string Shape(const CZelOid* node);
// The shapes of every goal of the parser, separated by spaces.
std::string Shapes(const CZelParser& parser);
// The writer's text for every goal of the parser, through the list writer.
std::string WrittenList(CZelParser& parser);
// The stream writer's text for node, written to memory; result receives WriteFile's result.
std::string StreamText(CZelParser& parser, const CZelOid* node, int level = 0, int withSiblings = 1, int* result = nullptr);
// The n-th child of node, or null.
const CZelOid* Child(const CZelOid* node, int n);
std::string Repeat(const std::string& piece, int count);

// Keyword ids of the editing grammar (see test_grammars.cpp for the rules).
enum EditKw {
    ED_NAME = 6,      // a second identifier keyword
    ED_PROBE = 8,     // (probe)    int? ident? X? ")"
    ED_X = 9,         // the literal X
    ED_NAMED = 10,    // (named)    name? int? ")"
    ED_BAG = 11,      // (bag)      ident* ")"
    ED_COUNT = 12
};

// Semantic rows of the editing grammar that the tests name.
enum EditRow { ED_ROW_PROBE = 1, ED_ROW_BAG = 3, ED_ROW_PROBE_INT = 4, ED_ROW_PROBE_IDENT = 5, ED_ROW_PROBE_X = 6,
               ED_ROW_BAG_IDENT = 11 };

Grammar EditGrammar();

}  // namespace zeltest

#endif
