// Node values, release of nodes and subtrees, deletion and copies.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/test_access.h"
#include "support/test_grammars.h"

using namespace zeltest;
using A = CZelTestAccess;

namespace {

int ParseText(CZelParser& p, const std::string& text, int engine = 0)
{
    const std::string file = TempFile(text);
    const int errors = p.Parse(file.c_str(), engine);
    std::remove(file.c_str());
    return errors;
}

const CZelOid* Child(const CZelOid* node, int i)
{
    const CZelOid* c = node->GetFirstObj();
    while (c && i-- > 0)
        c = c->GetNextObj();
    return c;
}

bool IsFree(const CZelOid* n)
{
    return n->GetKeywordId() == 0 && n->GetFlags() == 0 && !n->GetParent() && !n->GetFirstObj() && !n->GetNextObj();
}

const char kCells[] = "(design top (cell a) (cell b) (cell c))";

}  // namespace

TEST(Tree_Store, AddObjTakesValueFromTokenText)
{
    // Rows of the netlist grammar: 1 design, 3 ident, 7 int, 20 INPUT, 24 string, 25 real.
    const struct { int row; const char* text; const char* shape; int bytes; const char* warn; } cases[] = {
        {7, "12abc", "12", 0, ""}, {7, "-2147483648", "-2147483648", 0, ""}, {7, "2397562737", "2147483647", 0, "2@0:1"},
        {7, "-9999999999", "-2147483648", 0, "2@0:1"}, {25, "1e3", "1000.000000", 0, ""}, {25, "abc", "0.000000", 0, ""},
        {24, "a b", "\"a b\"", 4, ""}, {24, "", "\"\"", 1, ""}, {3, "top", "top", 4, ""}, {20, "input", "INPUT", 0, ""},
        {1, "design", "(design)", 0, ""}};
    Grammar g = NetlistGrammar();
    for (const auto& c : cases) {
        RecordingParser p(g.get());
        p.SetStatistics(1);
        A::SetToken(p, c.text);
        CZelOid* n = A::AddObj(p, c.row);
        ASSERT_NE(nullptr, n);
        EXPECT_EQ(c.shape, Shape(n)) << c.text;
        EXPECT_EQ(c.bytes, A::StringBytes(p)) << c.text;
        // An out-of-range integer is one warning, nothing more.
        EXPECT_EQ(c.warn, p.reports.empty() ? "" : p.reports[0].substr(0, 4) + std::to_string(p.reports.size()));
        delete n;
    }
}

TEST(Tree_Store, CopiesReleasesAndDeletesKeepTheTreeConsistent)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    EXPECT_EQ(1, p.DeleteObject(nullptr, 1));
    ASSERT_EQ(0, ParseText(p, std::string(kCells) + "(design b (version 1 2 3) (cell a (net n \"s\" 1.5)))(design c)"));
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
    EXPECT_EQ(1, Child(design, 0)->RemoveObjects());  // no children: nothing changes
    const CZelOid* name = Child(Child(design, 2), 0);
    EXPECT_EQ(1, Child(design, 2)->RemoveObjects());
    EXPECT_TRUE(IsFree(name));
    delete name;  // the client may delete a released node; the parser then forgets it
    EXPECT_EQ(0, A::ReleasedCount(p));
    EXPECT_EQ(1, p.DeleteObject(Child(design, 1), 1));
    // Without the unlink flag the node still leaves its chain: nothing may point at it.
    EXPECT_EQ(1, p.DeleteObject(Child(design, 1), 0));
    EXPECT_EQ(1, p.DeleteObject(p.GetGoalAt(1), 0));  // and a deleted goal leaves the table
    EXPECT_EQ(1, p.GetGoalAt(1)->RemObject());         // while a released one keeps its entry
    EXPECT_EQ("(design top (cell c)) <free>", Shapes(p));
}

// Release at every place on a chain, also on the children that the form parser left
// without a parent link because their form's content failed (the port's, in "broken").
TEST(Tree_Store, ReleaseUnlinksAtEveryPosition)
{
    const char* broken = "(design top (cell a (port p INPUT oops)))";
    enum { kRem, kChildren, kDelete };
    const struct { const char* input; int cell, child, op; const char* shape; } cases[] = {
        {kCells, 0, -1, kRem, "(design (cell a) (cell b) (cell c))"}, {kCells, 1, -1, kRem, "(design top (cell b) (cell c))"},
        {kCells, 2, -1, kRem, "(design top (cell a) (cell c))"}, {kCells, 3, -1, kRem, "(design top (cell a) (cell b))"},
        {broken, 1, 1, kRem, "(design top (cell a))"}, {broken, 1, 0, kRem, "(design top (cell (port p INPUT)))"},
        {broken, 1, -1, kChildren, "(design top (cell))"}, {broken, 1, -1, kRem, "(design top)"},
        {broken, 1, 1, kDelete, "(design top (cell a))"}};
    Grammar g = NetlistGrammar();
    for (int engine = 0; engine < 2; ++engine) {
        for (const auto& c : cases) {
            RecordingParser p(g.get());
            ParseText(p, c.input, engine);
            ASSERT_TRUE(c.input == kCells || !Child(Child(p.GetGoalAt(0), 1), 1)->GetParent()) << Shapes(p);
            const CZelOid* n = Child(p.GetGoalAt(0), c.cell);
            n = c.child < 0 ? n : Child(n, c.child);
            n->SetFlags(5);
            if (c.op == kDelete)
                p.DeleteObject(n, 1);
            else if (c.op == kChildren)
                n->RemoveObjects();
            else  // a second release does nothing
                EXPECT_TRUE(n->RemObject() == 1 && n->RemObject() == 1 && IsFree(n));
            EXPECT_EQ(c.shape, Shapes(p)) << c.input << " " << c.cell << "/" << c.child << "/" << c.op;
        }
    }
}
