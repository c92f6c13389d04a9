// Node values, release of nodes and subtrees, deletion and copies.
#include <gtest/gtest.h>

#include <memory>

#include "core/parser_access.h"
#include "support/test_grammars.h"

using namespace zeltest;

namespace {

bool IsFree(const CZelOid* n)
{
    return n->GetKeywordId() == 0 && n->GetFlags() == 0 && !n->GetParent() && !n->GetFirstObj() && !n->GetNextObj();
}

const char kCells[] = "(design top (cell a) (cell b) (cell c))";

}  // namespace

// Rows of the netlist grammar, token text read from the input, then the node, the string
// bytes counted and the reports: an out-of-range integer is one warning, and so is an
// integer that is not well formed.
TEST(Tree_Store, NodeTakesValueFromTokenText)
{
    const struct { int row; const char* text; const char* made; } cases[] = {
        {NR_VERSION_INT, "12abc", "12/0/2@0:1"}, {NR_VERSION_INT, "-9999999999", "-2147483648/0/2@0:1"},
        {NR_NET_REAL, "1e3", "1000.000000/0/"}, {NR_NET_STRING, "a b", "\"a b\"/4/"}, {NR_NET_STRING, "", "\"\"/1/"},
        {NR_DESIGN_NAME, "top", "top/4/"}, {NR_INPUT, "input", "INPUT/0/"}, {NR_DESIGN, "design", "(design)/0/"}};
    Grammar g = NetlistGrammar();
    for (const auto& c : cases) {
        RecordingParser p(g.get());
        zel::ParserImpl& impl = zel::ParserAccess::Of(p);
        p.SetStatistics(1);
        impl.lexer.SetTextOnly(true);
        impl.lexer.SetToken(c.text);
        std::unique_ptr<CZelOid> n(impl.engines.MakeNode(c.row));
        EXPECT_EQ(c.made, Shape(n.get()) + "/" + std::to_string(impl.store.StringBytes()) + "/" +
                              (p.reports.empty() ? "" : p.reports[0].substr(0, 4) + std::to_string(p.reports.size())));
    }
}

TEST(Tree_Store, CopiesReleasesAndDeletesKeepTheTreeConsistent)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    EXPECT_EQ(1, p.DeleteObject(nullptr, 1));
    ASSERT_EQ(0, ParseLine(p, std::string(kCells) + "(design b (version 1 2 3) (cell a (net n \"s\" 1.5)))(design c)"));
    const CZelOid* design = p.GetGoalAt(0);
    const CZelOid* net = Child(Child(p.GetGoalAt(1), 2), 1);
    const std::string before = Shapes(p);
    // Copies own their values and sit on no chain: releasing them leaves the tree alone.
    for (const CZelOid* v : {Child(design, 0), Child(Child(p.GetGoalAt(1), 1), 0), Child(net, 1), Child(net, 2), net, design}) {
        CZelOid copy(*v), assigned(&p);
        assigned = *Child(net, 1);  // the value it holds goes when it takes another
        assigned = *v;
        EXPECT_TRUE(Shape(v) == Shape(&copy) && Shape(v) == Shape(&assigned)) << Shape(v);
        EXPECT_TRUE(!v->GetIdent() || (v->GetIdent() != copy.GetIdent() && v->GetIdent() != assigned.GetIdent()));
        assigned.RemoveObjects();
        copy.RemObject();
        EXPECT_EQ(before, Shapes(p));
    }
    const CZelOid* name = Child(Child(design, 2), 0);
    EXPECT_EQ(1, Child(design, 2)->RemoveObjects());
    EXPECT_TRUE(IsFree(name));
    delete name;  // the client may delete a released node; the parser then forgets it
    EXPECT_EQ(0, zel::ParserAccess::Of(p).store.ReleasedCount());
    EXPECT_EQ(1, p.DeleteObject(p.GetGoalAt(1), 0));  // a deleted goal leaves the table
    EXPECT_EQ(1, p.GetGoalAt(1)->RemObject());         // while a released one keeps its entry
    EXPECT_EQ("(design top (cell a) (cell) (cell c)) <free>", Shapes(p));
}

// Release and deletion at every place on a chain, also in the tree of a failed parse (the
// port's content fails, in "broken"). Deletion without the unlink flag still takes the node off its chain: nothing may point at it.
TEST(Tree_Store, ReleaseUnlinksAtEveryPosition)
{
    const char* broken = "(design top (cell a (port p INPUT oops)))";
    enum { kRem, kChildren, kDelete, kDeleteLinked };
    const struct { const char* input; int cell, child, op; const char* shape; } cases[] = {
        {kCells, 2, -1, kDeleteLinked, "(design top (cell a) (cell c))"},
        {kCells, 0, -1, kRem, "(design (cell a) (cell b) (cell c))"}, {kCells, 3, -1, kRem, "(design top (cell a) (cell b))"},
        {broken, 1, 1, kRem, "(design top (cell a))"},
        {broken, 1, 0, kRem, "(design top (cell (port p INPUT)))"}, {broken, 1, -1, kChildren, "(design top (cell))"},
        {broken, 1, -1, kRem, "(design top)"}, {broken, 1, 1, kDelete, "(design top (cell a))"}};
    Grammar g = NetlistGrammar();
    for (int engine = 0; engine < 2; ++engine)
        for (const auto& c : cases) {
            RecordingParser p(g.get());
            ParseText(p, c.input, engine);
            const CZelOid* n = c.child < 0 ? Child(p.GetGoalAt(0), c.cell) : Child(Child(p.GetGoalAt(0), c.cell), c.child);
            n->SetFlags(5);
            const int r = c.op == kRem       ? n->RemObject()
                          : c.op == kChildren ? n->RemoveObjects() : p.DeleteObject(n, c.op == kDelete);
            EXPECT_TRUE(r == 1 && (c.op != kRem || (n->RemObject() == 1 && IsFree(n))));  // a second release does nothing
            EXPECT_EQ(c.shape, Shapes(p)) << c.input << " " << c.cell << "/" << c.child << "/" << c.op;
        }
}

// A goal alternative that leads to repeated identifiers (a hand-laid grammar may have one)
// makes a chain of top-level value nodes that no goal takes: all of it is released with
// the parser, not only its first node.
TEST(Tree_Store, TopLevelChainWithoutGoalIsReleased)
{
    Grammar g = EditGrammar();
    g.rows[ED_ROW_BAG].alt = ED_ROW_BAG_IDENT;
    RecordingParser p(g.get());
    const std::string file = TempFile("a b c (bag x)\n");
    p.Parse(file.c_str(), "r", -1L, 1);
    EXPECT_LE(3, zel::ParserAccess::Of(p).store.ReleasedCount());  // a, b and c; the sanitizer build checks that none leaks
}
