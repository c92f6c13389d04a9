#include <gtest/gtest.h>

#include "support/test_grammars.h"

using namespace zeltest;

TEST(Parse_Smoke, NetlistParses)
{
    for (int engine = 0; engine < 2; ++engine) {
        Grammar g = NetlistGrammar();
        RecordingParser p(g.get());
        std::string file = TempFile("(design top\n (version 1 2 3)\n (cell a (port p input 4) (net n \"x\" 1.5 2))\n (cell b))\n");
        EXPECT_EQ(0, p.Parse(file.c_str(), engine)) << p.output;
        EXPECT_EQ("(design top (version 1 2 3) (cell a (port p INPUT 4) (net n \"x\" 1.500000 2.000000)) (cell b))", Shapes(p));
    }
}
