// The compiler's decision on literal names, held against what the tokenizer reads.
#include <gtest/gtest.h>

#include <cstring>

#include "support/test_grammars.h"

using namespace zeltest;

// True when the parser, under the plain or the extended rules, reads name in "(f name x)"
// as the literal of "form f = <literal> ident". The literal is compiled under a stand-in
// name and renamed in the tables, so that names the compiler refuses are tried too.
static bool ReadsAsLiteral(const std::string& name, bool extended)
{
    CZelGrammar g;
    if (g.Compile("goal f\nform f = Q ident ;") != 0)
        return false;
    zelParserS* d = g.GetDescriptor();
    std::strncpy(d->kwTable[g.GetKeywordId("Q")].name, name.c_str(), sizeof d->kwTable[0].name - 1);
    RecordingParser p(d, 4, 65535, 0, extended ? 1 : 0);
    return ParseLine(p, "(f " + name + " x)") == 0 && Shapes(p) == "(f " + name + " x)";
}

// The compiler refuses comments, apostrophe texts, names that break into several words and
// names made of number characters alone. The tokenizer's own rules differ: under the plain
// rules a word ending in anything but a letter, underscore or digits after one is no
// identifier, and "&" is dropped; under the extended rules a capital E makes a number real.
// The table holds both, so that a change to either side shows.
TEST(Grammar_Compiler, LiteralDecisionAgainstWhatTheTokenizerReads)
{
    const struct { const char* name; bool compiled, plain, extended; } cases[] = {
        {"1a", true, true, true},     {"E5", true, true, true},      {"a.b", true, true, true},
        {"x-y", true, true, true},    {"a;b", true, true, true},     {"-", false, false, false},
        {"1.5", false, false, false}, {"+-.", false, false, false},  {";a", false, false, false},
        {"#a", false, false, false},  {"a b", false, false, false},  {"(a", false, false, false},
        {"x-", true, false, true},    {"a-1", true, false, true},    {"$", true, false, true},
        {"&x", true, false, true},    {"E-", true, false, true},     {"1E5", true, true, false},
        {"1E+", true, false, false},  {"'a", false, true, false},    {"'", false, false, true},
    };
    for (const auto& c : cases) {
        CZelGrammar g;
        const std::string grammar = std::string("goal f\nform f = \"") + c.name + "\" ident ;";
        EXPECT_EQ(c.compiled, g.Compile(grammar.c_str()) == 0) << c.name;
        EXPECT_EQ(c.plain, ReadsAsLiteral(c.name, false)) << c.name << " plain";
        EXPECT_EQ(c.extended, ReadsAsLiteral(c.name, true)) << c.name << " extended";
    }
}
