// Editing a parsed tree from form text, and RemObject and ReplaceData.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/test_grammars.h"

using namespace zeltest;

static const CZelOid* Child(const CZelOid* node, int n)
{
    for (node = node->GetFirstObj(); node && n--;)
        node = node->GetNextObj();
    return node;
}

// True when every node below n names its parent.
static bool Linked(const CZelOid* n)
{
    const CZelOid* c = n->GetFirstObj();
    while (c && c->GetParent() == n && Linked(c))
        c = c->GetNextObj();
    return !c;
}

struct Edit_Text : ::testing::Test {
    const CZelOid* Load(const char* text)
    {
        const std::string file = TempFile(text);
        EXPECT_EQ(0, parser.Parse(file.c_str(), 0)) << text;
        std::remove(file.c_str());
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

TEST_F(Edit_Text, AddObjectAppendsToTheParent)
{
    const CZelOid* design = Load("(design top (cell c))\n(library)");
    EXPECT_EQ(nullptr, parser.AddObject(design, "    "));
    EXPECT_EQ("(cell x)", Shape(parser.AddObject(design, "(cell x) (cell y)")));
    // After the required name of a cell; under a node without children, from its head.
    EXPECT_EQ("(net a)", Shape(parser.AddObject(Child(design, 1), "(net a) (net b)")));
    EXPECT_EQ("\"s\"", Shape(parser.AddObject(parser.GetGoalAt(1), "\"s\" \"t\"")));
    EXPECT_EQ("(design top (cell c (net a) (net b)) (cell x) (cell y)) (library \"s\" \"t\")", Shapes(parser));
    EXPECT_TRUE(Linked(design) && Linked(parser.GetGoalAt(1)));
    const std::string big = "(cell " + std::string(5000, 'n') + ")";  // longer than the token buffer
    EXPECT_EQ(big, Shape(parser.AddObject(design, big.c_str())));
    EXPECT_EQ(nullptr, parser.AddChildObject(design, Lines({})));
    EXPECT_EQ("(cell a)", Shape(parser.AddChildObject(design, Lines({"(cell a)", "(cell b)", "(cell c)"}))));
    EXPECT_EQ(2, lines.GetCount());  // the first line only is used
    // Reports name line 0 while the text is scanned and line 1 once its end is reached.
    EXPECT_EQ(nullptr, parser.AddObject(design, "(cell m (bogus))"));
    EXPECT_EQ("3@0:Expecting end of form \")\" (Token=\"bogus\").\n", parser.reports.at(0));
    parser.reports.clear();
    EXPECT_NE(nullptr, parser.AddObject(design, "(cell n) (cell"));
    EXPECT_EQ(0u, parser.reports.at(0).find("3@1:"));
}

TEST_F(Edit_Text, InsObjectPutsTheNodesInFront)
{
    const CZelOid* design = Load("(design top (cell a) (cell b))\n(library \"a\")");
    const CZelOid* b = Child(design, 2);
    EXPECT_EQ(nullptr, parser.InsObject(b, Lines({})));
    EXPECT_EQ(nullptr, parser.InsObject(b, Lines({"", "(cell x)"})));  // takes the empty line
    EXPECT_EQ("(cell x)", Shape(parser.InsObject(b, &lines)));
    EXPECT_EQ("\"z\"", Shape(parser.InsObject(parser.GetGoalAt(1)->GetFirstObj(), Lines({"\"z\" \"y\""}))));
    for (const CZelOid* at : {Child(design, 1), b})  // texts that fail after making nodes
        for (const char* text : {"(cell m) (port q INPUT)", "(cell m (port q INPUT) 7)", "(cell m) 5"})
            EXPECT_EQ(nullptr, parser.InsObject(at, Lines({text}))) << text;
    EXPECT_EQ("(design top (cell a) (cell x) (cell b)) (library \"z\" \"y\" \"a\")", Shapes(parser));
    EXPECT_TRUE(Linked(design) && Linked(parser.GetGoalAt(1)));
}

TEST_F(Edit_Text, ReplaceRemoveAndReplaceData)
{
    const CZelOid* design = Load("(design top (cell a (port p INPUT 4) (net n \"s\" 1.5)) (cell b) (cell c))");
    EXPECT_EQ("first", Shape(parser.ReplaceObject(design->GetFirstObj(), Lines({"first"}))));  // top stays
    EXPECT_EQ("(cell z)", Shape(parser.ReplaceObject(Child(design, 4), Lines({"(cell z)"}))));
    const CZelOid* b = Child(design, 3);
    EXPECT_EQ(1, parser.RemObject(b));
    for (const CZelOid* none : {static_cast<const CZelOid*>(nullptr), b}) {  // nothing, or a removed node
        EXPECT_EQ(0, parser.RemObject(none));
        EXPECT_EQ(nullptr, parser.AddObject(none, "x"));
        EXPECT_EQ(nullptr, parser.InsObject(none, Lines({"(cell y)"})));
    }
    const CZelOid *port = Child(Child(design, 2), 1), *net = port->GetNextObj();
    const std::pair<const CZelOid*, const char*> edits[] = {{Child(port, 2), "12ab"}, {Child(port, 0), "q"},
        {Child(port, 1), "OUTPUT"}, {port, "x"}, {Child(net, 2), "2.5"}, {Child(net, 1), "longer text"}};
    for (const auto& e : edits)  // values from text; a literal or a form keeps its own
        EXPECT_EQ(0, parser.ReplaceData(e.first, e.second)) << e.second;
    EXPECT_EQ("(design first top (cell a (port q INPUT 12) (net n \"longer text\" 2.500000)) (cell z))", Shape(design));
    EXPECT_TRUE(Linked(design));
}
