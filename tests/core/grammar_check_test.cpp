// Grammar tables laid out by hand are checked at their first use: malformed tables are
// refused with the row and the field named, and the parser then works as one without
// a grammar.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "core/parser_access.h"
#include "support/test_grammars.h"

using namespace zeltest;

namespace {

struct Mutation {
    const char* detail;  // the fault named in the report
    std::function<void(Grammar&, zelParserS&)> apply;
};

const Mutation kMutations[] = {
    {"the semantic table is missing", [](Grammar&, zelParserS& d) { d.semTable = nullptr; }},
    {"keyword count 7 leaves out the fixed rows 0 to 7", [](Grammar&, zelParserS& d) { d.kwCount = 7; }},
    {"keyword row 9: type 11 is not a keyword type (0..10, 12)", [](Grammar& g, zelParserS&) { g.keywords[NK_VERSION].type = 11; }},
    {"keyword row 9: type 13 is not a keyword type (0..10, 12)", [](Grammar& g, zelParserS&) { g.keywords[NK_VERSION].type = 13; }},
    {"keyword row 10: semanticId 30 is outside the semantic table",
     [](Grammar& g, zelParserS&) { g.keywords[NK_CELL].semanticId = 30; }},
    {"keyword row 12: name is not NUL-terminated within its 256 bytes",
     [](Grammar& g, zelParserS&) { std::memset(g.keywords[NK_NET].name, 'x', sizeof g.keywords[NK_NET].name); }},
    {"semantic row 12: keywordId 19 is outside the keyword table", [](Grammar& g, zelParserS&) { g.rows[NR_CELL_ITEMS].keywordId = NK_COUNT; }},
    {"semantic row 14: alt 99 is outside the table", [](Grammar& g, zelParserS&) { g.rows[NR_ITEM_PORT].alt = 99; }},
    {"semantic row 16: next 16 is the row itself", [](Grammar& g, zelParserS&) { g.rows[NR_PORT_NAME].next = NR_PORT_NAME; }},
    {"semantic row 19: next 16 closes a cycle of alt and next links", [](Grammar& g, zelParserS&) { g.rows[NR_PORT_END].next = NR_PORT_NAME; }},
    // The cell items' rule (rows 14 and 15) entered again from inside itself.
    {"semantic row 15: keywordId 18 closes a cycle that reads no token",
     [](Grammar& g, zelParserS&) { g.rows[NR_ITEM_NET].keywordId = NK_CELLITEM; }},
    // Without a row count the checks that need none still hold.
    {"semantic row 14: alt -2 is negative", [](Grammar& g, zelParserS& d) { g.rows[NR_ITEM_PORT].alt = -2; d.semCount = 0; }},
};

}  // namespace

// Each mutation is refused at the first parse with one report that names the row and the
// field; the parse fails with error state 6, and every later operation fails cleanly.
TEST(Core_GrammarCheck, MalformedTablesAreRefused)
{
    const std::string file = TempFile("(design top (cell c (port p INPUT)))\n");
    for (const Mutation& m : kMutations) {
        for (int engine : {0, 1}) {
            Grammar g = NetlistGrammar();
            zelParserS descriptor = *g.get();
            m.apply(g, descriptor);
            RecordingParser p(&descriptor);
            EXPECT_NE(0, p.Parse(file.c_str(), engine)) << m.detail;
            EXPECT_EQ(zelERRNO_GRAMMAR, p.GetErrno()) << m.detail;
            EXPECT_EQ(std::vector<std::string>{std::string("3@0:Malformed grammar tables: ") + m.detail + ".\n"}, p.reports);

            EXPECT_EQ(1, ParseLine(p, "(design top)"));
            EXPECT_EQ(zelERRNO_GRAMMAR, p.GetErrno());
            EXPECT_EQ(1u, p.reports.size()) << "reported once";
            EXPECT_EQ(nullptr, p.SetGoal(NK_DESIGN));
            EXPECT_EQ(0, p.GetGoalCount());
            EXPECT_EQ(-1, zel::ParserAccess::Of(p).grammar.GroupHead(NR_CELL_ITEMS));
            EXPECT_EQ(0, p.Save() == 0 && p.GetGoalCount() > 0);
        }
    }
}

// A grammar of 100,000 rows chained by alt and next links passes, with its row count and
// without one (no recursion over the rows).
TEST(Core_GrammarCheck, LongChainsPass)
{
    // (chain) holds any number of the values of a choice of 100,000 alternatives, then ")";
    // the alternatives are chained backwards, from the last row to the first.
    Grammar g = NetlistGrammar();
    const int first = static_cast<int>(g.rows.size());
    const int alternatives = 100000;
    std::strcpy(g.keywords[NK_LIBRARY].name, "chain");
    g.keywords[NK_LIBRARY].semanticId = first;
    g.keywords[NK_CELLITEM].semanticId = first + 2 + alternatives - 1;
    g.rows.push_back({NK_CELLITEM, S_OPTG | S_REPG | S_GRPHEAD, 0, 0, first + 1, nullptr});
    g.rows.push_back({NK_EOF, S_REQ, 0, 0, 0, nullptr});
    const int kinds[] = {NK_INT, NK_STRING, NK_REAL};
    for (int j = 0; j < alternatives; ++j)
        g.rows.push_back({j < 3 ? kinds[j] : NK_VERSION, S_OPT, 0, j ? first + 2 + j - 1 : 0, 0, nullptr});
    zelParserS descriptor = *g.get();
    const std::string file = TempFile("(chain 1 \"a\" 2.5)\n");
    for (int count : {descriptor.semCount, 0}) {
        descriptor.semCount = count;
        EXPECT_TRUE(zel::GrammarTables(&descriptor).Has());
        RecordingParser p(&descriptor);
        p.SetStackGrowth(1);  // the iterative engine holds an entry per alternative tried
        EXPECT_EQ(0, p.Parse(file.c_str(), "r", -1L, 1)) << p.output;
        EXPECT_EQ("(chain 1.000000 \"a\" 2.500000)", Shapes(p));  // the real alternative comes first
    }
}
