// The rest of an alternative belongs to that alternative: input that takes another
// alternative does not go on into it, and a missing first element that its alternative
// requires ends the group quietly. Both engines read each case alike.
#include <gtest/gtest.h>

#include "support/test_grammars.h"

using namespace zeltest;

TEST(Grammar_Alternatives, TheRestOfAnAlternativeIsItsOwn)
{
    CZelGrammar grammar;
    ASSERT_EQ(0, grammar.Compile("goal t ;\n"
                                 "form t = (at | x | s | q | p | r | y)* ;\n"
                                 "form at = real real real? ident? | xyz ;\n"
                                 "form xyz = real real real ;\n"
                                 "form x = (real real f? | string) int* ;\n"
                                 "form f = ident ;\n"
                                 "form s = c real? | NONE ;\n"
                                 "choice c = RED | BLUE ;\n"
                                 "form q = (KA? KB | KC) int ;\n"
                                 "form p = (real real | xyz)? ident ;\n"
                                 "form r = (KD* KE | KF) ;\n"
                                 "form y = (KG KH KI)? KJ ;\n"));
    const struct { const char *text, *shape; } cases[] = {  // shape empty: refused
        {"(at (xyz 0 0 0))", "(at (xyz 0.000000 0.000000 0.000000))"}, {"(at 1 2 (xyz 1 2 3))", ""},
        {"(at 1 2 3 k)", "(at 1.000000 2.000000 3.000000 k)"},
        {"(x \"s\" 2 3)", "(x \"s\" 2 3)"}, {"(x 1 2 (f w) 4)", "(x 1.000000 2.000000 (f w) 4)"}, {"(x 1)", ""},
        {"(s NONE)", "(s NONE)"}, {"(s RED 2.5)", "(s RED 2.500000)"}, {"(s NONE 2.5)", ""},
        {"(q KC 1)", "(q KC 1)"}, {"(q KB 1)", "(q KB 1)"}, {"(q KA KB 1)", "(q KA KB 1)"},
        {"(q KA KC 1)", ""}, {"(q KC KB 1)", ""},
        {"(p k)", "(p k)"}, {"(p 1 2 k)", "(p 1.000000 2.000000 k)"},
        {"(p (xyz 1 2 3) k)", "(p (xyz 1.000000 2.000000 3.000000) k)"},
        {"(r KF)", "(r KF)"}, {"(r KD KD KE)", "(r KD KD KE)"}, {"(r KD KF)", ""}, {"(r KF KE)", ""},
        {"(y KJ)", "(y KJ)"}, {"(y KG KH KI KJ)", "(y KG KH KI KJ)"}, {"(y KG KJ)", ""},
    };
    for (const auto& c : cases)
        for (int engine = 0; engine < 2; ++engine) {
            RecordingParser parser(grammar.GetDescriptor(), 4, 256);
            const int errors = ParseText(parser, std::string("(t ") + c.text + ")", engine);
            if (*c.shape) {
                EXPECT_EQ(0, errors) << c.text << " engine " << engine << ": " << (parser.reports.empty() ? "" : parser.reports[0]);
                EXPECT_TRUE(parser.reports.empty()) << c.text;
                EXPECT_EQ(std::string("(t ") + c.shape + ")", Shapes(parser)) << c.text << " engine " << engine;
            } else {
                EXPECT_GT(errors, 0) << c.text << " engine " << engine;
            }
        }
}
