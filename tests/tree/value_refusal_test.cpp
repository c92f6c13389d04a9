// Values that the writer cannot write back are refused when they are made; the value
// wrappers add all their nodes or none.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tree/tree_fixture.h"

using namespace zeltest;

using Tree_Values = TreeFixture;

// Under the plain rules: identifiers with spaces or parentheses, a literal keyword's name in
// any case, strings with an unprotected quote, reals that are not finite. Each refusal
// returns the operation's failure result and leaves the tree as it was.
TEST_F(Tree_Values, ValuesWithoutAWrittenFormAreRefused)
{
    const CZelOid* design = Load("(design top (cell c (net n \"s\" 1.5)))");
    const CZelOid* net = Child(Child(design, 1), 1);
    const CZelOid *name = net->GetFirstObj(), *string = Child(net, 1), *real = Child(net, 2);
    const std::string before = Shape(design);
    for (const char* text : {"has space", "(paren", "Output", "a-1"}) {
        EXPECT_EQ(nullptr, net->AppIdent(text)) << text;
        EXPECT_EQ(nullptr, name->InsIdent(text)) << text;
        EXPECT_EQ(0, name->ReplaceData(text)) << text;
        EXPECT_EQ(-1, parser->ReplaceData(name, text)) << text;
    }
    EXPECT_EQ(nullptr, string->InsStrtok("a\"b"));
    EXPECT_EQ(nullptr, real->InsStrtok("\"b"));
    EXPECT_EQ(0, string->ReplaceData("a\"b"));
    EXPECT_EQ(-1, parser->ReplaceData(string, "\""));
    for (const double value : {NAN, INFINITY, -INFINITY}) {
        EXPECT_EQ(nullptr, net->AppRealtok(value));
        EXPECT_EQ(nullptr, real->InsRealtok(value));
        EXPECT_EQ(0, real->ReplaceData(value));
    }
    EXPECT_EQ(-1, parser->ReplaceData(real, "nan"));
    EXPECT_EQ(before, Shape(design));
    // What can be written is taken: "&1" under these rules, a quote after the escape.
    EXPECT_EQ(0, parser->ReplaceData(name, "1"));
    EXPECT_EQ(0, parser->ReplaceData(real, "1e-7"));
    EXPECT_EQ(1e-7, real->GetRealval());
    EXPECT_NE(nullptr, net->AppRealtok(0.0000001));
    EXPECT_EQ("\n(net  &1  \"s\"  0.0000001  0.0000001)", StreamText(*parser, net, 0, 0));
}

// A list is checked whole before the first node is made, and a node the grammar refuses
// later takes the ones made before it out again.
TEST_F(Tree_Values, ListFormsAddEveryTextOrNone)
{
    const CZelOid* bag = Load("(bag a1)", true);
    TextList mixed{"b1", "c d", "e1"};
    EXPECT_EQ(nullptr, bag->AppIdent(mixed));
    EXPECT_EQ(nullptr, bag->GetFirstObj()->InsIdent(mixed));
    TextList good{"b1", "c1"};
    EXPECT_NE(nullptr, bag->GetFirstObj()->InsIdent(good));
    EXPECT_EQ("(bag b1 c1 a1)", Shape(bag));
    // The probe takes one identifier in front of X: the second insertion fails, the first goes.
    const CZelOid* probe = Load("(probe X)", true);
    EXPECT_EQ(nullptr, probe->GetFirstObj()->InsIdent(good));
    EXPECT_EQ("(probe X)", Shape(probe));
    EXPECT_NE(nullptr, probe->GetFirstObj()->InsIdent("b1"));
    EXPECT_EQ("(probe b1 X)", Shape(probe));
    const CZelOid* library = Load("(library \"a\")");
    TextList strings{"x", "y\"", "z"};
    EXPECT_EQ(nullptr, library->AppStrtok(strings));
    EXPECT_EQ(nullptr, library->GetFirstObj()->InsStrtok(strings));
    EXPECT_EQ("(library \"a\")", Shape(library));
}
