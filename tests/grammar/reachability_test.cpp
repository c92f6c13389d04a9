// The compiler's warnings about alternatives and elements that no input can reach.
#include <gtest/gtest.h>

#include "support/test_grammars.h"

using namespace zeltest;
using Lines = std::vector<std::string>;

// The warnings for "goal a" and the rules, under the plain or the extended rules.
static Lines Warnings(const std::string& rules, bool extended)
{
    CZelGrammar g;
    if (g.Compile(("goal a\n" + rules + (extended ? "\nrules extended ;" : "")).c_str()) != 0)
        return Strings(g.GetErrors());
    return Strings(g.GetWarnings());
}

static std::string Taken(int line, const std::string& alternative, const std::string& owner)
{
    return "line " + std::to_string(line) + ": warning: alternative \"" + alternative + "\" of " + owner +
           " is never taken: an earlier alternative takes every token it can start with";
}

static std::string Reached(int line, const std::string& element, const std::string& taker)
{
    return "line " + std::to_string(line) + ": warning: \"" + element + "\" is never reached: the repeated \"" + taker +
           "\" before it takes every token it can start with";
}

// Each rule set's matching decides (an integer is a real, a literal an identifier only under
// the extended rules, a word takes every bare word); composites count through their
// alternatives and leading optional elements.
TEST(Grammar_Reachability, WarnsWhereAnEarlierElementTakesEveryToken)
{
    const struct {
        const char* rules;
        bool extended;
        Lines warnings;
    } cases[] = {
        {"form a = n ;\nchoice n = real | int ;", false, {Taken(3, "int", "\"n\"")}},
        {"form a = n ;\nchoice n = int | real | ident | string | X | b ;\nform b = ;", false, {}},
        {"form a = int* int\nreal* int?\nint+ ;", false,
         {Reached(2, "int", "int"), Reached(3, "int", "real"), Reached(4, "int", "real")}},
        {"form a = int* int? int ;", false, {Reached(2, "int", "int"), Reached(2, "int", "int")}},
        {"form a = int? int int+ ident* X? ident ident? (ident | int)* X ;", false, {}},
        {"form a = (X Y | X Z) (X? Y | Y) (X? Y | X? Z)\n((X? Y) | Y) ;", false,
         {Taken(2, "X ...", "\"(X Y | X Z)\""), Taken(3, "Y", "\"((X Y) | Y)\"")}},
        {"form a = (p | q | X Z) (b | c)* c ;\nchoice p = X | Y ;\nchoice q = Y | X ;\nform b = ;\nform c = ;", false,
         {Reached(2, "c", "(b | c)"), Taken(2, "q", "\"(p | q | X Z)\""), Taken(2, "X ...", "\"(p | q | X Z)\"")}},
        {"form a = ;\nform b = ;\ngoal b | a", false, {Taken(4, "a", "the goal")}},
        {"form a = s ;\nform s = colour thickness? | NONE ;\nchoice colour = RED | BLUE ;\nvalue thickness = real ;",
         false, {}},
        {"form a = (ident | NAME) ident* X ;", false, {}},
        {"form a = (ident | NAME) ident* X ;", true, {Reached(2, "X", "ident"), Taken(2, "NAME", "\"(ident | NAME)\"")}},
        {"form a = (hide | \"hide\")* ;\nform hide = ;", true, {}},
        {"form a = w* int string\nident* w (w | X) ;\nvalue w = word ;", false,
         {Reached(2, "int", "w"), Taken(3, "X", "\"(w | X)\"")}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.warnings, Warnings(c.rules, c.extended)) << c.rules << (c.extended ? " (extended)" : "");
}

// A compile that fails lists no warnings, also after one that listed some. (The tool's
// examples test shows that the example grammars have none.)
TEST(Grammar_Reachability, AFailedCompileListsNoWarnings)
{
    CZelGrammar g;
    EXPECT_EQ(0, g.Compile("goal a\nform a = int* int ;"));
    EXPECT_EQ(Lines{Reached(2, "int", "int")}, Strings(g.GetWarnings()));
    EXPECT_EQ(1, g.Compile("goal a\nform a = int* int wire ;"));
    EXPECT_TRUE(Strings(g.GetWarnings()).empty());
}
