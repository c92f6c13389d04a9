// The input line each node keeps: read from a file or a line list, none for nodes made by
// code, and kept through edits.
#include <gtest/gtest.h>

#include <memory>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

// The lines of node's subtree in document order.
std::string Lines(const CZelOid* node)
{
    std::string out = std::to_string(node->GetLine());
    for (const CZelOid* child = node->GetFirstObj(); child; child = child->GetNextObj())
        out += " " + Lines(child);
    return out;
}

const char kDesign[] = "(design top\r\n (cell a\n  (port p\n\tINPUT))\n\n (cell b))";

// A node of a class of its own, larger than a node (not made in a node block).
struct LargerNode : CZelOid {
    using CZelOid::CZelOid;
    long extra[4] = {};
};

}  // namespace

// A form keeps the line of its keyword, a value the line of its token, under both engines;
// the strings of a line list count as lines from 1.
TEST(Tree_Line, ParsedNodesKeepTheirLines)
{
    Grammar g = NetlistGrammar();
    for (int engine = 0; engine < 2; ++engine) {
        RecordingParser parser(g.get());
        ASSERT_EQ(0, ParseText(parser, kDesign, engine));
        EXPECT_EQ("1 1 2 2 3 3 4 6 6", Lines(parser.GetGoalAt(0))) << "engine " << engine;
    }
    RecordingParser parser(g.get());
    TextList lines{"(design a)", "(design b\n (cell c))"};
    ASSERT_EQ(0, parser.Parse(&lines));
    EXPECT_EQ("1 1", Lines(parser.GetGoalAt(0)));
    EXPECT_EQ("2 2 2 2", Lines(parser.GetGoalAt(1)));
}

// Nodes made by code have no line: constructed on the stack, of a larger class, copies of
// parsed nodes (in a fresh node block), goals added by keyword.
TEST(Tree_Line, NodesMadeByCodeHaveNone)
{
    Grammar g = NetlistGrammar();
    RecordingParser parser(g.get());
    ASSERT_EQ(0, ParseText(parser, kDesign));
    const CZelOid* design = parser.GetGoalAt(0);
    CZelOid onStack(*design);
    std::unique_ptr<CZelOid> copy(new CZelOid(*design)), larger(new LargerNode(&parser));
    for (const CZelOid* node : {&onStack, copy.get(), larger.get(), parser.AddGoal(NK_DESIGN)})
        EXPECT_EQ(0, node->GetLine());
}

// Edits keep the lines of the nodes that stay; nodes made from a text have line 1 (a text
// is one line to the reader, its line feeds are blanks);
// a block reused after a deletion starts without a line.
TEST(Tree_Line, LinesSurviveEdits)
{
    Grammar g = NetlistGrammar();
    RecordingParser parser(g.get());
    ASSERT_EQ(0, ParseText(parser, kDesign));
    const CZelOid* design = parser.GetGoalAt(0);
    const CZelOid* cellA = design->FindObj(NK_CELL);
    ASSERT_NE(nullptr, parser.AddObject(cellA, "(port q\n OUTPUT)"));
    EXPECT_EQ("1 1 2 2 3 3 4 1 1 1 6 6", Lines(design));
    ASSERT_EQ(1, cellA->RemObject());
    EXPECT_EQ("1 1 6 6", Lines(design));
    parser.FullInit();
    std::unique_ptr<CZelOid> fresh[8];
    for (auto& node : fresh) {
        node.reset(new CZelOid(&parser));
        EXPECT_EQ(0, node->GetLine());
    }
}
