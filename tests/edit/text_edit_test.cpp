// Editing a parsed tree from form text: AddObject, InsObject, ReplaceObject, RemObject
// and ReplaceData from text.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

const CZelOid* Child(const CZelOid* node, int n)
{
    for (node = node->GetFirstObj(); node && n--;)
        node = node->GetNextObj();
    return node;
}

class Edit_Text : public ::testing::Test {
protected:
    // Parses text from a file, which also builds the keyword index the edits use.
    const CZelOid* Load(const char* text)
    {
        parser.reset(new RecordingParser(grammar.get()));
        const std::string file = TempFile(text);
        EXPECT_EQ(0, parser->Parse(file.c_str(), 0)) << text;
        std::remove(file.c_str());
        return parser->GetGoalAt(0);
    }
    const CZelOid* Ins(const CZelOid* node, const char* line)
    {
        CStringList lines;
        lines.AddTail(line);
        return parser->InsObject(node, &lines);
    }
    Grammar grammar = NetlistGrammar();
    std::unique_ptr<RecordingParser> parser;
};

}  // namespace

TEST_F(Edit_Text, AddObjectAppendsEveryNodeToTheParent)
{
    const CZelOid* design = Load("(design top (cell c (port p INPUT)))\n(library)");
    EXPECT_EQ(nullptr, parser->AddObject(nullptr, "(cell x)"));
    EXPECT_EQ(nullptr, parser->AddObject(design, "    "));
    EXPECT_EQ("(design top (cell c (port p INPUT))) (library)", Shapes(*parser));

    const CZelOid* x = parser->AddObject(design, "(cell x) (cell y)");
    ASSERT_NE(nullptr, x);
    EXPECT_EQ(design, x->GetParent());
    EXPECT_EQ(design, x->GetNextObj()->GetParent());
    EXPECT_EQ(2, parser->GetGoalCount());

    // The start element heads the repeated group of the cell's items.
    const CZelOid* cell = Child(design, 1);
    const CZelOid* a = parser->AddObject(cell, "(net a) (net b)");
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(Child(cell, 2), a);
    EXPECT_EQ(cell, Child(cell, 3)->GetParent());

    // Under a node without children the text starts at the head of its rule.
    const CZelOid* library = parser->GetGoalAt(1);
    const CZelOid* s = parser->AddObject(library, "\"s\" \"t\"");
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(library->GetFirstObj(), s);
    EXPECT_EQ("(design top (cell c (port p INPUT) (net a) (net b)) (cell x) (cell y)) (library \"s\" \"t\")",
              Shapes(*parser));

    // A text longer than the token buffer is read whole.
    const std::string name(5000, 'n');
    const CZelOid* big = parser->AddObject(design, ("(cell " + name + ")").c_str());
    ASSERT_NE(nullptr, big);
    EXPECT_EQ(name, big->GetFirstObj()->GetIdent());

    // AddChildObject uses the first line only.
    CStringList lines;
    EXPECT_EQ(nullptr, parser->AddChildObject(design, &lines));
    for (const char* line : {"(cell a)", "(cell b)", "(cell c)"})
        lines.AddTail(line);
    EXPECT_EQ("(cell a)", Shape(parser->AddChildObject(design, &lines)));
    EXPECT_EQ(2, lines.GetCount());
}

TEST_F(Edit_Text, InsObjectPutsTheNodesInFront)
{
    const CZelOid* design = Load("(design top (cell a) (cell b))\n(library \"a\")");
    CStringList lines;
    EXPECT_EQ(nullptr, parser->InsObject(Child(design, 2), &lines));
    lines.AddTail("");
    lines.AddTail("(cell x)");
    EXPECT_EQ(nullptr, parser->InsObject(Child(design, 2), &lines));
    EXPECT_EQ(1, lines.GetCount());

    const CZelOid* b = Child(design, 2);
    ASSERT_NE(nullptr, parser->InsObject(b, &lines));
    EXPECT_EQ(b, Child(design, 3));
    EXPECT_EQ(design, b->GetPrevObj()->GetParent());

    const CZelOid* library = parser->GetGoalAt(1);
    const CZelOid* z = Ins(library->GetFirstObj(), "\"z\" \"y\"");
    ASSERT_NE(nullptr, z);
    EXPECT_EQ(library->GetFirstObj(), z);
    EXPECT_EQ(library, z->GetNextObj()->GetParent());
    EXPECT_EQ("(design top (cell a) (cell x) (cell b)) (library \"z\" \"y\" \"a\")", Shapes(*parser));
    EXPECT_EQ(2, parser->GetGoalCount());
}

// A text that fails after making nodes leaves the tree as it was.
TEST_F(Edit_Text, FailedInsertRestoresTheTree)
{
    const CZelOid* design = Load("(design top (cell a) (cell b))");
    const CZelOid* a = Child(design, 1);
    const CZelOid* b = Child(design, 2);
    const std::string before = Shapes(*parser);
    for (const char* text : {"(cell m) (port q INPUT)", "(cell m (port q INPUT) 7)", "(cell m) 5"}) {
        EXPECT_EQ(nullptr, Ins(b, text)) << text;
        EXPECT_EQ(before, Shapes(*parser)) << text;
        EXPECT_EQ(a, b->GetPrevObj()) << text;
    }
    EXPECT_EQ(nullptr, Ins(a, "(cell m) (port q INPUT)"));
    EXPECT_EQ(before, Shapes(*parser));
}

TEST_F(Edit_Text, ReplaceAndRemove)
{
    const CZelOid* design = Load("(design top (cell a) (cell b))");
    const CZelOid* top = design->GetFirstObj();
    EXPECT_EQ(0, parser->RemObject(nullptr));
    EXPECT_EQ(0, parser->RemObject(top));

    // The required name stays behind the new one.
    CStringList lines;
    lines.AddTail("first");
    ASSERT_NE(nullptr, parser->ReplaceObject(top, &lines));
    EXPECT_EQ("(design first top (cell a) (cell b))", Shape(design));

    lines.AddTail("(cell z)");
    const CZelOid* z = parser->ReplaceObject(Child(design, 2), &lines);
    ASSERT_NE(nullptr, z);
    EXPECT_EQ(design, z->GetParent());
    EXPECT_EQ("(design first top (cell z) (cell b))", Shape(design));
    const CZelOid* b = Child(design, 3);
    EXPECT_EQ(1, parser->RemObject(b));
    EXPECT_EQ("(design first top (cell z))", Shape(design));
    // A removed node takes no edits.
    EXPECT_EQ(0, parser->RemObject(b));
    EXPECT_EQ(nullptr, parser->AddObject(b, "x"));
    lines.AddTail("(cell y)");
    EXPECT_EQ(nullptr, parser->InsObject(b, &lines));
}

TEST_F(Edit_Text, ReplaceDataFromText)
{
    const CZelOid* cell = Child(Load("(design top (cell c (port p INPUT 4) (net n \"s\" 1.5)))"), 1);
    const CZelOid* port = Child(cell, 1);
    const CZelOid* net = Child(cell, 2);
    const CZelOid* nodes[] = {Child(port, 2), Child(port, 0), Child(port, 1), port, Child(net, 2), Child(net, 1)};
    const char* texts[] = {"12ab", "q", "OUTPUT", "x", "2.5", "longer text"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(0, parser->ReplaceData(nodes[i], texts[i])) << texts[i];
    EXPECT_EQ("(cell c (port q INPUT 12) (net n \"longer text\" 2.500000))", Shape(cell));
}

// Reports name line 0 while the text is scanned and line 1 once its end is reached.
TEST_F(Edit_Text, ErrorsInTheTextAreReported)
{
    const CZelOid* design = Load("(design top)");
    EXPECT_EQ(nullptr, parser->AddObject(design, "(cell m (bogus))"));
    ASSERT_FALSE(parser->reports.empty());
    EXPECT_EQ(0u, parser->reports[0].find("3@0:Expecting end of form"));
    parser->reports.clear();
    EXPECT_NE(nullptr, parser->AddObject(design, "(cell n) (cell"));
    ASSERT_FALSE(parser->reports.empty());
    EXPECT_EQ(0u, parser->reports[0].find("3@1:"));
}
