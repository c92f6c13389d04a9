// Grammar searches for insertion points: Find and Pass on the parse stack.
#include <gtest/gtest.h>

#include "parse/grammar_search.h"
#include "support/components.h"

using namespace zeltest;

namespace {

// Searches from the start element alone on the stack, or with start 0 from where the
// last search ended: Pass for a target row, else Find for the token.
// Gives "<result>: <elements on the stack, bottom first>".
std::string Search(Components& c, int start, int target, const char* token = "", int type = 0)
{
    if (start) {
        c.stack.Clear();
        c.stack.Push(start, nullptr, 0);
    }
    c.lexer.SetToken(token);
    c.lexer.SetTokenType(type);
    zel::GrammarSearch search(c.grammar, c.stack);
    std::string out = std::to_string(target ? search.Pass(target) : search.Find(c.lexer.Current())) + ":";
    for (int i = 0; i <= c.stack.TopIndex(); ++i)
        out += " " + std::to_string(c.stack.At(i).sem);
    return out;
}

}  // namespace

// Rows: 1 the probe form element; its rule 4 int?, 5 ident?, 6 X?, 7 ")".
TEST(Parse_Search, SearchesWalkTheGrammarFromTheStack)
{
    Grammar g = EditGrammar();
    Components c(g.get());
    // Find enters the rule of a form element and walks its sequence.
    EXPECT_EQ("5: 1 4 5", Search(c, ED_ROW_PROBE, 0, "id", zelKW_IDENT));
    EXPECT_EQ(0u, Search(c, 0, 0, "integer", zelKW_INTTOK).find("-1:"));  // only X or ")" now
    EXPECT_EQ("6: 1 4 5 6", Search(c, ED_ROW_PROBE, 0, "X", zelKW_LIT));
    // A token that no element of the all-optional sequence takes ends the search.
    EXPECT_EQ(0u, Search(c, ED_ROW_PROBE, 0, "string", zelKW_STRTOK).find("-1: 1"));

    // Pass walks the sequence only; a later search goes on from where it ended.
    EXPECT_EQ("1: 4", Search(c, ED_ROW_PROBE_INT, ED_ROW_PROBE_INT));
    EXPECT_EQ("1: 4 5", Search(c, 0, ED_ROW_PROBE_IDENT));
    EXPECT_EQ("6: 4 5 6", Search(c, 0, 0, "X", zelKW_LIT));
    EXPECT_EQ(0u, Search(c, 0, ED_ROW_PROBE_INT).find("0:"));
    EXPECT_EQ("0: 1", Search(c, ED_ROW_PROBE, ED_ROW_PROBE_IDENT));

    g.rows[ED_ROW_PROBE_INT].semType = S_REQ;  // a required element is never passed
    EXPECT_EQ(0u, Search(c, ED_ROW_PROBE, 0, "id", zelKW_IDENT).find("-1:"));
}
