// Construction by keyword: appending where the rule names it, inserting where the grammar allows it.
#include <gtest/gtest.h>

#include "tree/tree_fixture.h"

using namespace zeltest;

using Tree_Construct = TreeFixture;

TEST_F(Tree_Construct, AppendNeedsOnlyTheKeywordInTheRule)
{
    const CZelOid* design = Load("(design top (version 1 2 3) (cell a))");
    const CZelOid* version = design->AppForm(NK_VERSION);  // allowed once: order and repetition go unchecked
    ASSERT_TRUE(version && version->GetParent() == design && version->AppInttok("abc"));
    EXPECT_EQ(S_OPT, Child(design, 2)->AppForm(NK_PORT)->GetSemanticType());  // the composite's alternative row
    // Refused: no text, keywords not in the rule or two levels down, a child of a value.
    CStringList none;
    for (const CZelOid* refused : {design->AppIdent(none), design->AppForm(NK_LIBRARY), design->AppForm(NK_PORT),
                                   design->AppStrtok("s"), design->GetFirstObj()->AppIdent("x")})
        EXPECT_EQ(nullptr, refused);
    EXPECT_EQ("(design top (version 1 2 3) (cell a (port)) (version 0))", Shape(design));
    // Appending looks for keyword 2 itself; inserting matches identifiers by type.
    const CZelOid* named = Load("(named 4)", true);
    EXPECT_EQ(nullptr, named->AppIdent("n"));
    EXPECT_EQ(ED_NAME, named->GetFirstObj()->InsIdent("n")->GetKeywordId());
    EXPECT_EQ("(named n 4)", Shape(named));
}

TEST_F(Tree_Construct, InsertOnlyWhereTheGrammarAllowsIt)
{
    const CZelOid* library = Load("(library \"a\" \"b\")");
    EXPECT_NE(nullptr, Child(library, 1)->InsStrtok("y"));
    EXPECT_EQ(library, library->GetFirstObj()->InsStrtok("z")->GetParent());  // in front of the first child
    EXPECT_EQ("(library \"z\" \"a\" \"y\" \"b\")", Shape(library));
    // After a form's required name; an integer where only a real element takes it becomes a real.
    const CZelOid* net = Child(Child(Load("(design top (cell c (net n 1.5)))"), 1), 1);
    EXPECT_TRUE(Child(net, 1)->InsStrtok(CString("s")) && Child(net, 2)->InsInttok(7));
    EXPECT_EQ("(net n \"s\" 7.000000 1.500000)", Shape(net));
    const CZelOid* bag = Load("(bag p q)", true);
    TextList names{"a", "b", "c"};
    EXPECT_STREQ("a", Child(bag, 1)->InsIdent(names)->GetIdent());  // in list order; the first is returned
    EXPECT_EQ("(bag p a b c q)", Shape(bag));

    const CZelOid* design = Load("(design top (version 1 2 3) (cell a (port p INPUT 4) (net n)) (cell d))");
    EXPECT_EQ(nullptr, design->GetFirstObj()->InsIdent("x"));       // top could not follow it
    EXPECT_EQ(nullptr, Child(design, 1)->InsForm(NK_VERSION));      // version could not follow it
    EXPECT_EQ(nullptr, Child(design, 2)->InsForm(NK_VERSION));      // no way back to version
    EXPECT_EQ(nullptr, Child(design, 1)->InsForm(NK_LIBRARY));      // not in the rule
    EXPECT_EQ(nullptr, Child(Child(Child(design, 2), 1), 2)->InsRealtok(1.5));  // width takes integers
    EXPECT_EQ(nullptr, design->InsForm(NK_DESIGN));                 // a root has no place
    EXPECT_NE(nullptr, Child(Child(design, 2), 2)->InsForm(NK_PORT));  // inside a repeated composite
    EXPECT_NE(nullptr, Child(design, 3)->InsForm(NK_CELL));            // in front of the second of a group
    EXPECT_EQ("(design top (version 1 2 3) (cell a (port p INPUT 4) (port) (net n)) (cell) (cell d))", Shape(design));
    ASSERT_NE(nullptr, design->AppForm(NK_VERSION));  // an earlier sibling out of order is not replayed
    EXPECT_EQ(nullptr, design->AppForm(NK_CELL)->InsForm(NK_CELL));
}

// Inserting replays the earlier siblings on the parse stack; when the stack overflows there,
// nothing is inserted and the tree stays as it was.
TEST(Tree_ConstructStack, OverflowInTheReplayChangesNothing)
{
    Grammar g = NetlistGrammar();
    RecordingParser p(g.get(), 4, 8);
    std::string text = "(library";
    for (int i = 0; i < 12; ++i)
        text += " \"s" + std::to_string(i) + "\"";
    ASSERT_EQ(0, ParseLine(p, text + ")"));  // the recursive engine repeats a group on one stack entry
    const CZelOid* library = p.GetGoalAt(0);
    const std::string before = Shape(library);
    EXPECT_EQ(nullptr, Child(library, 11)->InsStrtok("y"));
    EXPECT_EQ(before, Shape(library));
    EXPECT_NE(nullptr, Child(library, 1)->InsStrtok("y"));  // a short replay fits
}
