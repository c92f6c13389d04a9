// Inputs that once lost nodes, leaked them or reported a failure as success; each is
// kept here in the shape in which it was found.
#include <gtest/gtest.h>

#include "core/parser_access.h"
#include "support/test_grammars.h"

using namespace zeltest;

TEST(Stress_Regression, TopLevelFormReadInsideAnOpenFormIsKeptForRelease)
{
    // The first design is never closed, so the library form is read at depth 3: it is
    // no goal, and the parser keeps it until it is destroyed.
    Grammar g = NetlistGrammar();
    RecordingParser p(g.get(), 16);
    const std::string file = TempFile("(design top (cell a (port p INPUT 4)\n(design t (v (net n)))\n(library \"a\")\n");
    EXPECT_NE(0, p.Parse(file.c_str(), 0));
    EXPECT_EQ(1, p.GetGoalCount());
    EXPECT_EQ(1, zel::ParserAccess::Of(p).store.ReleasedCount());
}

TEST(Stress_Regression, InputEndingInsideAnOpenFormIsAnError)
{
    // "(" then a newline makes the forms that follow nested ones, never top-level forms.
    Grammar g = EdgeGrammar();
    for (int engine = 0; engine < 2; ++engine) {
        RecordingParser p(g.get());
        const std::string file = TempFile("(\n(optint)\n(ints 1 2)\n");
        EXPECT_EQ(1, p.Parse(file.c_str(), engine));
        ASSERT_EQ(1u, p.reports.size());
        EXPECT_EQ("3@4:Unexpected end of file.\n", p.reports[0]);
    }
}

TEST(Stress_Regression, RepeatedGroupThatEndsUnmatchedKeepsItsNodes)
{
    // The group (b* C)* matches (b x y), then fails on "-": the recursive engine counts it
    // unmatched, and the optional int after it must not take over its link.
    CZelGrammar grammar;
    ASSERT_EQ(0, grammar.Compile("goal a\nform a = (b* C)* int? ;\nform b = ident+ ;"));
    CZelParser p(grammar.GetDescriptor());
    EXPECT_NE(0, ParseLine(p, "(a (b x y) - C)"));
    EXPECT_EQ("(a (b x y) 0)", Shape(p.GetGoalAt(0)));
}

TEST(Stress_Regression, TextIsAddedOnlyToForms)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    const std::string file = TempFile("(design top (version 1 2 3))\n");
    ASSERT_EQ(0, p.Parse(file.c_str(), 0));
    const CZelOid* number = p.GetGoalAt(0)->FindObj(NK_VERSION)->GetFirstObj();
    EXPECT_EQ(nullptr, p.AddObject(number, "(cell x)"));
    EXPECT_EQ(nullptr, number->AppIdent("x"));
    EXPECT_EQ("(design top (version 1 2 3))", Shape(p.GetGoalAt(0)));
}

TEST(Stress_Regression, RealBeyondTheDoubleRangeKeepsTheLargestFiniteValue)
{
    // "1E5180" under the extended rules is a real past the double range: it was stored as
    // an infinity, written as "inf", and the written file no longer parsed.
    Grammar g = NetlistGrammar();
    std::string written[2];
    for (int pass = 0; pass < 2; ++pass) {
        RecordingParser p(g.get(), 4, 65535, 0, 1);
        const std::string file = TempFile(pass ? written[0] : "(design d (cell c (net n 1E5180 -1E999 2.5)))\n");
        ASSERT_EQ(0, p.Parse(file.c_str(), pass));
        EXPECT_EQ(pass ? 0u : 2u, p.reports.size());
        const std::string out = TempFile("");
        ASSERT_EQ(0, p.WriteFile(out.c_str(), p.GetGoalAt(0), 0, nullptr));
        p.Close();
        written[pass] = ReadFile(out);
    }
    EXPECT_EQ(written[0], written[1]);
    EXPECT_NE(std::string::npos, written[0].find("  17976931348623157081")) << written[0];
    EXPECT_NE(std::string::npos, written[0].find("  -17976931348623157081")) << written[0];
}

TEST(Stress_Regression, TopLevelFormNeverLinksToANodeOfAnEarlierForm)
{
    // A goal alternative with a successor: ")" at the top level matches the rule's end,
    // and the identifier read next was linked behind the identifier of the first form,
    // which had been kept for release already, and leaked.
    Grammar g = EditGrammar();
    zelParserS d = *g.get();
    g.rows[1].alt = 4;
    g.rows[1].next = 4;
    for (int engine = 0; engine < 2; ++engine) {
        RecordingParser p(&d, 16, 64, 0, 1);
        const std::string file = TempFile("first ) ) ) second\n");
        p.Parse(file.c_str(), "r", -1L, engine);
        EXPECT_EQ(2, zel::ParserAccess::Of(p).store.ReleasedCount()) << engine;
    }
}
