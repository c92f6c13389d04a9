// Editing a parsed tree from form text, and RemObject and ReplaceData.
#include <gtest/gtest.h>

#include "support/test_grammars.h"

using namespace zeltest;

static bool Linked(const CZelOid* n)  // every node below n names its parent
{
    for (const CZelOid* c = n->GetFirstObj(); c; c = c->GetNextObj())
        if (c->GetParent() != n || !Linked(c))
            return false;
    return true;
}

struct Edit_Text : ::testing::Test {
    const CZelOid* Load(const char* text)
    {
        EXPECT_EQ(0, parser.Parse(Lines({text}))) << text;
        return parser.GetGoalAt(0);
    }
    CStringList* Lines(std::initializer_list<const char*> texts)
    {
        lines.RemoveAll();
        for (const char* text : texts)
            lines.AddTail(text);
        return &lines;
    }
    Grammar grammar = NetlistGrammar();
    RecordingParser parser{grammar.get()};
    CStringList lines;
};

// AddObject appends to the parent: after the required name of a cell; under a node without
// children, from its head. InsObject puts the nodes in front of a node; a text that fails
// after making nodes leaves none.
TEST_F(Edit_Text, AddObjectAppendsInsObjectPutsInFront)
{
    const CZelOid* design = Load("(design top (cell c))\n(library)");
    EXPECT_EQ(nullptr, parser.AddObject(design, "    "));
    const CZelOid* x = parser.AddObject(design, "(cell x) (cell y)");
    EXPECT_EQ("(net a)", Shape(parser.AddObject(Child(design, 1), "(net a) (net b)")));
    EXPECT_EQ("\"s\"", Shape(parser.AddObject(parser.GetGoalAt(1), "\"s\" \"t\"")));
    EXPECT_EQ(nullptr, parser.InsObject(x, Lines({})));
    EXPECT_EQ(nullptr, parser.InsObject(x, Lines({"", "(cell w)"})));  // takes the empty line
    EXPECT_EQ("(cell w)", Shape(parser.InsObject(x, &lines)));
    EXPECT_EQ("\"z\"", Shape(parser.InsObject(parser.GetGoalAt(1)->GetFirstObj(), Lines({"\"z\" \"y\""}))));
    EXPECT_EQ("(design top (cell c (net a) (net b)) (cell w) (cell x) (cell y)) (library \"z\" \"y\" \"s\" \"t\")",
              Shapes(parser));
    EXPECT_TRUE(Linked(design) && Linked(parser.GetGoalAt(1)));
    const std::string big = "(cell " + std::string(5000, 'n') + ")";  // longer than the token buffer
    EXPECT_EQ(big, Shape(parser.AddObject(design, big.c_str())));
    EXPECT_EQ(nullptr, parser.AddChildObject(design, Lines({})));
    EXPECT_EQ("(cell a)", Shape(parser.AddChildObject(design, Lines({"(cell a)", "(cell b)", "(cell c)"}))));
    EXPECT_EQ(2, lines.GetCount());  // the first line only is used
    // Reports name line 0 while the text is scanned and line 1 once its end is reached.
    parser.reports.clear();
    EXPECT_EQ(nullptr, parser.AddObject(design, "(cell m (bogus))"));
    EXPECT_EQ(nullptr, parser.AddObject(design, "(cell n) (cell"));
    EXPECT_EQ("3@0:Expecting end of form \")\" (Token=\"bogus\").\n 3@1:",
              parser.reports.at(0) + " " + parser.reports.at(2).substr(0, 4));
}

TEST_F(Edit_Text, ReplaceRemoveAndReplaceData)
{
    const CZelOid* design = Load("(design top (cell a (port p INPUT 4) (net n \"s\" 1.5)) (cell b) (cell c))");
    // The required name stays, and a second name in front of it would not read back.
    EXPECT_EQ(nullptr, parser.ReplaceObject(design->GetFirstObj(), Lines({"first"})));
    EXPECT_EQ("(cell z)", Shape(parser.ReplaceObject(Child(design, 3), Lines({"(cell z)"}))));
    const CZelOid* b = Child(design, 2);
    EXPECT_EQ(1, parser.RemObject(b));
    for (const CZelOid* none : {static_cast<const CZelOid*>(nullptr), b})  // nothing, or a removed node
        EXPECT_TRUE(!parser.RemObject(none) && !parser.AddObject(none, "x") && !parser.InsObject(none, Lines({"(cell y)"})))
            << none;
    const CZelOid *port = Child(Child(design, 1), 1), *net = port->GetNextObj();
    const std::pair<const CZelOid*, const char*> edits[] = {{Child(port, 2), "12ab"}, {Child(port, 0), "q"},
        {Child(port, 1), "OUTPUT"}, {port, "x"}, {Child(net, 2), "2.5"}, {Child(net, 1), "longer text"}};
    for (const auto& e : edits)  // values from text; a literal or a form keeps its own
        EXPECT_EQ(0, parser.ReplaceData(e.first, e.second)) << e.second;
    EXPECT_EQ("(design top (cell a (port q INPUT 12) (net n \"longer text\" 2.500000)) (cell z))", Shape(design));
    EXPECT_TRUE(Linked(design));
}
