// Construction by keyword: appending anywhere the rule names the keyword, inserting
// where the grammar allows the node at exactly that place.
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

class Tree_Construct : public ::testing::Test {
protected:
    // Parses text and returns its first goal.
    const CZelOid* Load(const char* text, Grammar (*make)() = NetlistGrammar)
    {
        parser.reset();  // the old parser reads its grammar while it goes
        grammar = make();
        parser.reset(new RecordingParser(grammar.get()));
        const std::string file = TempFile(text);
        EXPECT_EQ(0, parser->Parse(file.c_str(), 0)) << text;
        std::remove(file.c_str());
        return parser->GetGoalAt(0);
    }
    Grammar grammar;
    std::unique_ptr<RecordingParser> parser;
};

}  // namespace

TEST_F(Tree_Construct, AppendNeedsOnlyTheKeywordInTheRule)
{
    const CZelOid* design = Load("(design top (version 1 2 3) (cell a))");
    // Allowed once, appended again: order and repetition are not checked.
    const CZelOid* version = design->AppForm(NK_VERSION);
    ASSERT_NE(nullptr, version);
    EXPECT_EQ(design, version->GetParent());
    EXPECT_EQ(0, version->AppInttok("abc")->GetIntval());

    // Allowed only as an alternative of a composite: the node carries that row.
    EXPECT_EQ(S_OPT, Child(design, 2)->AppForm(NK_PORT)->GetSemanticType());
    EXPECT_EQ("(design top (version 1 2 3) (cell a (port)) (version 0))", Shape(design));

    const std::string before = Shape(design);
    CStringList none;
    EXPECT_EQ(nullptr, design->AppIdent(none));
    EXPECT_EQ(nullptr, design->AppForm(NK_LIBRARY));
    EXPECT_EQ(nullptr, design->AppForm(NK_PORT));  // two levels down
    EXPECT_EQ(nullptr, design->AppStrtok("s"));
    // A value node holds no children.
    EXPECT_EQ(nullptr, design->GetFirstObj()->AppIdent("x"));
    EXPECT_EQ(nullptr, design->GetFirstObj()->GetFirstObj());
    EXPECT_EQ(before, Shape(design));
}

// Appending looks for keyword 2 itself; inserting matches identifiers by type.
TEST_F(Tree_Construct, IdentOfAnotherKeyword)
{
    const CZelOid* named = Load("(named 4)", EditGrammar);
    EXPECT_EQ(nullptr, named->AppIdent("n"));
    EXPECT_EQ(ED_NAME, named->GetFirstObj()->InsIdent("n")->GetKeywordId());
    EXPECT_EQ("(named n 4)", Shape(named));
}

TEST_F(Tree_Construct, InsertInFrontOfEveryPosition)
{
    const char* expected[] = {"(library \"z\" \"a\" \"b\" \"c\")", "(library \"a\" \"z\" \"b\" \"c\")",
                              "(library \"a\" \"b\" \"z\" \"c\")"};
    for (int i = 0; i < 3; ++i) {
        const CZelOid* library = Load("(library \"a\" \"b\" \"c\")");
        const CZelOid* at = Child(library, i);
        const CZelOid* z = at->InsStrtok("z");
        ASSERT_NE(nullptr, z) << i;
        EXPECT_EQ(at, z->GetNextObj());
        EXPECT_EQ(library, z->GetParent());
        EXPECT_EQ(expected[i], Shape(library));
    }
}

TEST_F(Tree_Construct, InsertAfterMatchedSiblings)
{
    // A value right after a form's required name.
    const CZelOid* net = Child(Child(Load("(design top (cell c (net n 1.5)))"), 1), 1);
    ASSERT_NE(nullptr, Child(net, 1)->InsStrtok(CString("s")));
    EXPECT_EQ("(net n \"s\" 1.500000)", Shape(net));

    // An integer where only a real element takes it becomes a real.
    const CZelOid* seven = Child(net, 2)->InsInttok(7);
    ASSERT_NE(nullptr, seven);
    EXPECT_EQ(zelKW_REALTOK, seven->GetObjType());
    EXPECT_DOUBLE_EQ(7.0, seven->GetRealval());
    EXPECT_EQ("(net n \"s\" 7.000000 1.500000)", Shape(net));

    // Inside a repeated composite, and in front of the second of a repeated group.
    const CZelOid* design = Load("(design top (cell c (port p INPUT) (net n)) (cell d))");
    ASSERT_NE(nullptr, Child(Child(design, 1), 2)->InsForm(NK_PORT));
    ASSERT_NE(nullptr, Child(design, 2)->InsForm(NK_CELL));
    EXPECT_EQ("(design top (cell c (port p INPUT) (port) (net n)) (cell) (cell d))", Shape(design));

    // A list goes in list order; the first new node is returned.
    const CZelOid* bag = Load("(bag p q)", EditGrammar);
    CStringList names;
    for (const char* s : {"a", "b", "c"})
        names.AddTail(s);
    const CZelOid* a = Child(bag, 1)->InsIdent(names);
    ASSERT_NE(nullptr, a);
    EXPECT_STREQ("a", a->GetIdent());
    EXPECT_EQ("(bag p a b c q)", Shape(bag));
}

TEST_F(Tree_Construct, InsertRefusalsChangeNothing)
{
    const CZelOid* design = Load("(design top (version 1 2 3) (cell a (port p INPUT 4)))");
    const CZelOid* version = Child(design, 1);
    const CZelOid* cell = Child(design, 2);
    const std::string before = Shapes(*parser);
    EXPECT_EQ(nullptr, design->GetFirstObj()->InsIdent("x"));  // top could not follow it
    EXPECT_EQ(nullptr, version->InsForm(NK_VERSION));           // version could not follow it
    EXPECT_EQ(nullptr, cell->InsForm(NK_VERSION));              // no way back to version
    EXPECT_EQ(nullptr, version->InsForm(NK_LIBRARY));           // not in the rule
    EXPECT_EQ(nullptr, Child(Child(cell, 1), 2)->InsRealtok(1.5));  // width takes integers
    EXPECT_EQ(nullptr, design->InsForm(NK_DESIGN));             // a root has no place
    EXPECT_EQ(before, Shapes(*parser));

    // An earlier sibling out of grammar order cannot be replayed.
    ASSERT_NE(nullptr, design->AppForm(NK_VERSION));
    const CZelOid* last = design->AppForm(NK_CELL);
    ASSERT_NE(nullptr, last);
    EXPECT_EQ(nullptr, last->InsForm(NK_CELL));
}
