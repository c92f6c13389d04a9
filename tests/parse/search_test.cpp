// Grammar searches for insertion points: VerifySemantic and BuildStack on the parse stack.
#include <gtest/gtest.h>

#include <string>

#include "support/test_access.h"
#include "support/test_grammars.h"

using namespace zeltest;
using A = CZelTestAccess;

namespace {

// Searches from the start element alone on the stack, or with start 0 from where the
// last search ended: BuildStack for a target row, else VerifySemantic for the token.
// Gives "<result>: <elements on the stack, bottom first>".
std::string Search(CZelParser& p, int start, int target, const char* token = "", int type = 0)
{
    if (start) {
        p.ReinitParser();
        A::Push(p, start);
    }
    A::SetToken(p, token);
    A::SetTokType(p, type);
    std::string out = std::to_string(target ? A::BuildStack(p, target) : A::VerifySemantic(p)) + ":";
    for (int i = 0; i <= A::Top(p); ++i)
        out += " " + std::to_string(A::StackSem(p, i));
    return out;
}

}  // namespace

// Rows: 1 the probe form element; its rule 4 int?, 5 ident?, 6 X?, 7 ")".
TEST(Parse_Search, SearchesWalkTheGrammarFromTheStack)
{
    Grammar g = EditGrammar();
    CZelParser p(g.get());
    // VerifySemantic enters the rule of a form element and walks its sequence.
    EXPECT_EQ("5: 1 4 5", Search(p, ED_ROW_PROBE, 0, "id", zelKW_IDENT));
    EXPECT_EQ(0u, Search(p, 0, 0, "integer", zelKW_INTTOK).find("-1:"));  // only X or ")" now
    EXPECT_EQ("6: 1 4 5 6", Search(p, ED_ROW_PROBE, 0, "X", zelKW_LIT));
    // A token that no element of the all-optional sequence takes ends the search.
    EXPECT_EQ(0u, Search(p, ED_ROW_PROBE, 0, "string", zelKW_STRTOK).find("-1: 1"));

    // BuildStack walks the sequence only; a later search goes on from where it ended.
    EXPECT_EQ("1: 4", Search(p, ED_ROW_PROBE_INT, ED_ROW_PROBE_INT));
    EXPECT_EQ("1: 4 5", Search(p, 0, ED_ROW_PROBE_IDENT));
    EXPECT_EQ("6: 4 5 6", Search(p, 0, 0, "X", zelKW_LIT));
    EXPECT_EQ(0u, Search(p, 0, ED_ROW_PROBE_INT).find("0:"));
    EXPECT_EQ("0: 1", Search(p, ED_ROW_PROBE, ED_ROW_PROBE_IDENT));

    g.rows[ED_ROW_PROBE_INT].semType = S_REQ;  // a required element is never passed
    EXPECT_EQ(0u, Search(p, ED_ROW_PROBE, 0, "id", zelKW_IDENT).find("-1:"));
}
