// Grammar searches for insertion points: VerifySemantic and BuildStack on the parse stack.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/test_access.h"
#include "support/test_grammars.h"

using namespace zeltest;
using A = CZelTestAccess;

namespace {

class Parse_Search : public ::testing::Test {
protected:
    // Builds the parser with the given elements on the stack, bottom first.
    void Start(std::vector<int> stack)
    {
        parser.reset(new CZelParser(grammar.get()));
        for (int sem : stack)
            ASSERT_EQ(1, A::Push(*parser, sem));
    }
    int Verify(const char* text, int type)
    {
        A::SetToken(*parser, text);
        A::SetTokType(*parser, type);
        return A::VerifySemantic(*parser);
    }
    std::vector<int> Stack() const
    {
        std::vector<int> out;
        for (int i = 0; i <= A::Top(*parser); ++i)
            out.push_back(A::StackSem(*parser, i));
        return out;
    }
    Grammar grammar = EditGrammar();
    std::unique_ptr<CZelParser> parser;
};

}  // namespace

// From a form element alone the search enters the form's rule and walks its sequence.
TEST_F(Parse_Search, VerifySemanticWalksIntoTheFormRule)
{
    Start({ED_ROW_PROBE});
    EXPECT_EQ(ED_ROW_PROBE_IDENT, Verify("id", zelKW_IDENT));
    EXPECT_EQ((std::vector<int>{ED_ROW_PROBE, ED_ROW_PROBE_INT, ED_ROW_PROBE_IDENT}), Stack());
    // After the identifier only X and ")" may come: an integer is refused.
    EXPECT_EQ(-1, Verify("integer", zelKW_INTTOK));

    Start({ED_ROW_PROBE});
    EXPECT_EQ(ED_ROW_PROBE_X, Verify("X", zelKW_LIT));
    EXPECT_EQ(4u, Stack().size());

    // A token that no element of the all-optional sequence takes ends the search.
    Start({ED_ROW_PROBE});
    EXPECT_EQ(-1, Verify("string", zelKW_STRTOK));
    EXPECT_GE(A::Top(*parser), 0);
}

TEST_F(Parse_Search, VerifySemanticStopsAtARequiredElement)
{
    grammar.rows[ED_ROW_PROBE_INT].semType = S_REQ;
    Start({ED_ROW_PROBE});
    EXPECT_EQ(-1, Verify("id", zelKW_IDENT));
}

TEST_F(Parse_Search, BuildStackWalksTheSequenceOnly)
{
    Start({ED_ROW_PROBE_INT});
    EXPECT_EQ(1, A::BuildStack(*parser, ED_ROW_PROBE_INT));
    EXPECT_EQ(0, A::Top(*parser));
    EXPECT_EQ(1, A::BuildStack(*parser, ED_ROW_PROBE_IDENT));
    EXPECT_EQ((std::vector<int>{ED_ROW_PROBE_INT, ED_ROW_PROBE_IDENT}), Stack());
    // A second search continues from the element just reached; nothing leads back.
    EXPECT_EQ(ED_ROW_PROBE_X, Verify("X", zelKW_LIT));
    EXPECT_EQ(0, A::BuildStack(*parser, ED_ROW_PROBE_INT));

    // The rule of a form element at the bottom is not entered.
    Start({ED_ROW_PROBE});
    EXPECT_EQ(0, A::BuildStack(*parser, ED_ROW_PROBE_IDENT));
    EXPECT_EQ(0, A::Top(*parser));
}
