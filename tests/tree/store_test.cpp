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

void ExpectFree(const CZelOid* n)
{
    EXPECT_EQ(0, n->GetKeywordId());
    EXPECT_EQ(0, n->GetFlags());
    EXPECT_EQ(nullptr, n->GetParent());
    EXPECT_EQ(nullptr, n->GetFirstObj());
    EXPECT_EQ(nullptr, n->GetNextObj());
}

const char kCells[] = "(design top (cell a) (cell b) (cell c))";

}  // namespace

TEST(Tree_Store, AddObjTakesValueFromTokenText)
{
    // Rows of the netlist grammar: 1 design, 3 ident, 7 int, 20 INPUT, 24 string, 25 real.
    const struct { int row; const char* text; const char* shape; int bytes; size_t warnings; } cases[] = {
        {7, "42", "42", 0, 0}, {7, "12abc", "12", 0, 0}, {7, "x", "0", 0, 0},
        {7, "-2147483648", "-2147483648", 0, 0}, {7, "2397562737", "2147483647", 0, 1},
        {7, "-9999999999", "-2147483648", 0, 1}, {25, "2.5", "2.500000", 0, 0},
        {25, "1e3", "1000.000000", 0, 0}, {25, "abc", "0.000000", 0, 0}, {24, "a b", "\"a b\"", 4, 0},
        {24, "", "\"\"", 1, 0}, {3, "top", "top", 4, 0}, {20, "input", "INPUT", 0, 0},
        {1, "design", "(design)", 0, 0}};
    Grammar g = NetlistGrammar();
    for (int statistics = 0; statistics < 2; ++statistics) {
        for (const auto& c : cases) {
            RecordingParser p(g.get());
            p.SetStatistics(statistics);
            A::SetToken(p, c.text);
            CZelOid* n = A::AddObj(p, c.row);
            ASSERT_NE(nullptr, n);
            EXPECT_EQ(c.shape, Shape(n)) << c.text;
            EXPECT_EQ(nullptr, n->GetParent());
            EXPECT_EQ(statistics * c.bytes, A::StringBytes(p)) << c.text;
            ASSERT_EQ(c.warnings, p.reports.size()) << c.text;
            if (c.warnings) {
                EXPECT_EQ(0u, p.reports[0].find("2@0:")) << p.reports[0];  // a warning
            }
            EXPECT_EQ(0, A::ErrorCount(p));
            delete n;
        }
    }
}

TEST(Tree_Store, RemObjectUnlinksAndFreesEachPosition)
{
    const struct { int child; const char* shape; int released; } cases[] = {
        {0, "(design (cell a) (cell b) (cell c))", 1},
        {1, "(design top (cell b) (cell c))", 2},
        {2, "(design top (cell a) (cell c))", 2},
        {3, "(design top (cell a) (cell b))", 2}};
    Grammar g = NetlistGrammar();
    for (const auto& c : cases) {
        CZelParser p(g.get());
        ASSERT_EQ(0, ParseText(p, kCells));
        const CZelOid* n = Child(p.GetGoalAt(0), c.child);
        n->SetFlags(5);
        EXPECT_EQ(1, n->RemObject());
        EXPECT_EQ(c.shape, Shapes(p));
        ExpectFree(n);
        EXPECT_EQ(c.released, A::ReleasedCount(p));
        EXPECT_EQ(1, n->RemObject());
        EXPECT_EQ(c.shape, Shapes(p));
    }
}

TEST(Tree_Store, ReleasedNodesStayFreeUntilFullInit)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    ASSERT_EQ(0, ParseText(p, kCells));
    const CZelOid* design = p.GetGoalAt(0);
    EXPECT_EQ(1, Child(design, 0)->RemoveObjects());
    EXPECT_EQ(kCells, Shapes(p));
    const CZelOid* cell = Child(design, 2);
    const CZelOid* name = Child(cell, 0);
    EXPECT_EQ(1, cell->RemoveObjects());
    EXPECT_EQ("(design top (cell a) (cell) (cell c))", Shapes(p));
    ExpectFree(name);
    // The client may delete a released node itself; the parser then forgets it.
    delete name;
    EXPECT_EQ(0, A::ReleasedCount(p));
    EXPECT_EQ(1, design->RemObject());
    ASSERT_EQ(1, p.GetGoalCount());
    EXPECT_EQ("<free>", Shapes(p));
    ExpectFree(design);
    EXPECT_EQ(6, A::ReleasedCount(p));
    p.FullInit();
    EXPECT_EQ(0, A::ReleasedCount(p));
}

TEST(Tree_Store, DeleteObjectKeepsGoalTableAndChainsConsistent)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    EXPECT_EQ(1, p.DeleteObject(nullptr, 1));
    ASSERT_EQ(0, ParseText(p, std::string(kCells) + "(design b)(design c)"));
    EXPECT_EQ(1, p.DeleteObject(Child(p.GetGoalAt(0), 2), 1));
    EXPECT_EQ("(design top (cell a) (cell c)) (design b) (design c)", Shapes(p));
    // Without the unlink flag the node still leaves its chain: nothing may point at it.
    const CZelOid* last = Child(p.GetGoalAt(0), 2);
    EXPECT_EQ(1, p.DeleteObject(Child(p.GetGoalAt(0), 1), 0));
    EXPECT_EQ(last, Child(p.GetGoalAt(0), 0)->GetNextObj());
    EXPECT_EQ("(design top (cell c)) (design b) (design c)", Shapes(p));
    EXPECT_EQ(1, p.DeleteObject(p.GetGoalAt(1), 0));
    EXPECT_EQ(2, p.GetGoalCount());
    EXPECT_EQ("(design top (cell c)) (design c)", Shapes(p));
    p.DeleteAllObjects();
    EXPECT_EQ(0, p.GetGoalCount());
    EXPECT_EQ(nullptr, p.GetGoalAt(0));
}

TEST(Tree_Store, CopiesOwnTheirValues)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    ASSERT_EQ(0, ParseText(p, "(design top (version 1 2 3) (cell a (net n \"s\" 1.5)))"));
    const CZelOid* design = p.GetGoalAt(0);
    const CZelOid* net = Child(Child(design, 2), 1);
    const CZelOid* values[] = {Child(design, 0), Child(Child(design, 1), 0), Child(net, 1),
                               Child(net, 2), net, design};
    const std::string before = Shapes(p);
    for (const CZelOid* v : values) {
        CZelOid copy(*v);
        CZelOid assigned(&p);
        assigned = *Child(net, 1);
        assigned = *v;
        EXPECT_EQ(Shape(v), Shape(&copy));
        EXPECT_EQ(Shape(v), Shape(&assigned));
        if (v->GetIdent()) {
            EXPECT_NE(v->GetIdent(), copy.GetIdent());
            EXPECT_NE(v->GetIdent(), assigned.GetIdent());
        }
        // A copy is on no chain: releasing it or its children leaves the tree alone.
        EXPECT_EQ(1, assigned.RemoveObjects());
        EXPECT_EQ(before, Shapes(p));
        EXPECT_EQ(1, copy.RemObject());
        EXPECT_EQ(0, copy.GetKeywordId());
        EXPECT_EQ(before, Shapes(p));
    }
}

TEST(Tree_Store, ChildrenWithoutParentLinkAreUnlinked)
{
    // The port's content fails, so the cell's children keep no parent link.
    const char* expected[] = {"(design top (cell a))", "(design top (cell (port p INPUT)))",
                              "(design top (cell))", "(design top)", "(design top (cell a))"};
    Grammar g = NetlistGrammar();
    for (int engine = 0; engine < 2; ++engine) {
        for (int op = 0; op < 5; ++op) {
            RecordingParser p(g.get());
            EXPECT_NE(0, ParseText(p, "(design top (cell a (port p INPUT oops)))", engine));
            const CZelOid* cell = Child(p.GetGoalAt(0), 1);
            ASSERT_EQ(nullptr, Child(cell, 1)->GetParent()) << Shapes(p);
            if (op < 2)
                Child(cell, 1 - op)->RemObject();
            else if (op == 2)
                cell->RemoveObjects();
            else if (op == 3)
                cell->RemObject();
            else
                p.DeleteObject(Child(cell, 1), 1);
            EXPECT_EQ(expected[op], Shapes(p)) << engine << "/" << op;
            if (op == 0 || op == 4) {
                EXPECT_EQ(nullptr, Child(cell, 0)->GetNextObj());
            }
        }
    }
}

TEST(Tree_Store, WideAndDeepTreesReleaseWithoutRecursion)
{
    std::string wide = "(design top\n";
    for (int i = 0; i < 1000000; ++i)
        wide += "(cell c)\n";
    wide += ")\n";
    const int depth = 300000;
    std::string deep;
    for (int i = 0; i < depth; ++i)
        deep += "(nest ";
    deep += std::string(depth, ')');
    // Each parser is destroyed with its released nodes or with the rest of its tree.
    Grammar net = NetlistGrammar(), edge = EdgeGrammar();
    for (int tree = 0; tree < 2; ++tree) {
        for (int op = 0; op < 3; ++op) {
            CZelParser p(tree ? edge.get() : net.get(), 4, 8000000);
            ASSERT_EQ(0, ParseText(p, tree ? deep : wide, 1)) << tree;
            const CZelOid* root = p.GetGoalAt(0);
            if (op == 0)
                root->RemObject();
            else if (op == 1)
                root->RemoveObjects();
            else
                p.DeleteObject(root, 1);
            EXPECT_EQ(op == 2 ? 0 : 1, p.GetGoalCount());
            EXPECT_EQ(op == 2 ? 0 : tree ? depth - 1 : 2000001, A::ReleasedCount(p));
        }
    }
}
