// Editing from text takes a text whole or not at all, and a parser leaves the nodes of
// another parser alone.
#include <gtest/gtest.h>

#include <sstream>

#include "core/parser_access.h"
#include "support/test_grammars.h"

using namespace zeltest;

namespace {

const char kTree[] = "(design top (version 1 2 3) (cell a (port p INPUT 4) (net n \"s\" 1.5)) (cell b))\n"
                     "(library \"x\")";

// Everything a refused edit must leave as it was: the written text of every goal; every node
// in document order with its address, keyword, value, flags and the addresses its links hold;
// the name lookup of every child that has a name; the goal table, the released nodes and the
// string byte count.
std::string Snapshot(CZelParser& p)
{
    std::ostringstream out;
    out << WrittenList(p) << '\n';
    for (int i = 0; i < p.GetGoalCount(); ++i) {
        std::vector<const CZelOid*> pending{p.GetGoalAt(i)};
        while (!pending.empty()) {
            const CZelOid* n = pending.back();
            pending.pop_back();
            out << n << ' ' << n->GetKeyword() << ' ' << (n->GetObjType() == zelKW_FORM ? "" : Shape(n)) << ' '
                << n->GetFlags() << ' ' << n->GetParent() << ' ' << n->GetFirstObj() << ' ' << n->GetNextObj() << '\n';
            for (const CZelOid* c = n->GetFirstObj(); c; c = c->GetNextObj())
                if (const char* name = c->GetFirstObj() ? c->GetFirstObj()->GetIdent() : nullptr)
                    out << "  " << name << " -> " << n->FindObj(c->GetKeywordId(), name) << '\n';
            if (n->GetNextObj())
                pending.push_back(n->GetNextObj());
            if (n->GetFirstObj())
                pending.push_back(n->GetFirstObj());
        }
    }
    const zel::NodeStore& store = zel::ParserAccess::Of(p).store;
    out << "goals " << p.GetGoalCount() << " released " << store.ReleasedCount() << " bytes " << store.StringBytes();
    return out.str();
}

// Where a text goes: appended to a parent, or inserted in front of one of its children.
enum Where { kCell, kDesign, kLibrary };

struct Edit_AllOrNothing : ::testing::Test {
    // Parses the tree; one form's symbol map is filled and one node carries flags.
    void SetUp() override
    {
        ASSERT_EQ(0, parser.Parse(Line(kTree)));
        parser.SetStatistics(1);
        parser.SetSymbolHashing(1);
        design = parser.GetGoalAt(0);
        parser.StoreSymbol(Child(design, 2), "a");  // the design's cells by name
        design->SetFlags(7);
    }
    const CZelOid* Parent(Where at) const
    {
        return at == kCell ? Child(design, 2) : at == kDesign ? design : parser.GetGoalAt(1);
    }
    // The child that an insertion goes in front of: the net, the second cell, the string.
    const CZelOid* Before(Where at) const
    {
        return at == kCell ? Child(Parent(at), 2) : at == kDesign ? Child(design, 3) : Parent(at)->GetFirstObj();
    }
    CStringList* Line(const char* text)
    {
        lines.RemoveAll();
        lines.AddTail(text);
        return &lines;
    }
    Grammar grammar = NetlistGrammar();
    RecordingParser parser{grammar.get()};
    CStringList lines;
    const CZelOid* design = nullptr;
};

}  // namespace

// Every editing operation refuses these texts and leaves the tree exactly as it was, with no
// node of the text left anywhere (the sanitizer build sees any that is not deleted).
TEST_F(Edit_AllOrNothing, RefusedTextLeavesTheTreeAsItWas)
{
    const struct { Where at; const char* text; } refused[] = {
        {kCell, "(port q INPUT"}, {kCell, "(net)"}, {kCell, "bogus"},    // open, incomplete, unknown
        {kCell, "(net n INPUT)"}, {kCell, "(net m) (port q INPUT 2 3)"},   // a wrong literal; the second form fails
        {kCell, "(port q INPUT) )"}, {kCell, "; a comment only"},          // trailing tokens; nothing to add
        {kCell, "(net m (port r INPUT))"}, {kDesign, "(cell c) (version 1 2 3)"},
        {kLibrary, "\"y\" \"open"}, {kLibrary, ")"},
    };
    const std::string before = Snapshot(parser);
    for (const auto& c : refused) {
        const CZelOid* parent = Parent(c.at);
        const CZelOid* node = Before(c.at);
        EXPECT_EQ(nullptr, parser.AddObject(parent, c.text)) << c.text;
        EXPECT_EQ(before, Snapshot(parser)) << "AddObject " << c.text;
        EXPECT_EQ(nullptr, parser.InsObject(node, Line(c.text))) << c.text;
        EXPECT_EQ(before, Snapshot(parser)) << "InsObject " << c.text;
        EXPECT_EQ(nullptr, parser.ReplaceObject(node, Line(c.text))) << c.text;
        EXPECT_EQ(before, Snapshot(parser)) << "ReplaceObject " << c.text;
    }
    // The parser still edits after the refusals.
    EXPECT_EQ("(port q INPUT)", Shape(parser.AddObject(Parent(kCell), "(port q INPUT)")));
    EXPECT_EQ("(cell a (port p INPUT 4) (net n \"s\" 1.500000) (port q INPUT))", Shape(Parent(kCell)));
}

// A text whose value only warns is taken, the value clamped and the warning reported.
TEST_F(Edit_AllOrNothing, TextWithAWarningIsTaken)
{
    parser.reports.clear();
    EXPECT_EQ("(port q OUTPUT 2147483647)", Shape(parser.InsObject(Before(kCell), Line("(port q OUTPUT 99999999999)"))));
    EXPECT_EQ("(cell a (port p INPUT 4) (port q OUTPUT 2147483647) (net n \"s\" 1.500000))", Shape(Parent(kCell)));
    EXPECT_EQ(1u, parser.reports.size());
}

// A node that sits on no chain (a client's copy) gives InsObject no place: the parent's
// children stay where they are.
TEST_F(Edit_AllOrNothing, InsertInFrontOfACopyIsRefused)
{
    const std::string before = Snapshot(parser);
    CZelOid copy(*Before(kDesign));
    EXPECT_EQ(nullptr, parser.InsObject(&copy, Line("(cell c)")));
    EXPECT_EQ(nullptr, parser.ReplaceObject(&copy, Line("(cell c)")));
    EXPECT_EQ(before, Snapshot(parser));
}

// Every operation that takes a node (editing, replacing, writing) refuses a node of another
// parser and changes nothing, in either parser; the sanitizer build would report a use after free otherwise.
TEST(Edit_Foreign, AnotherParsersNodesAreRefused)
{
    Grammar ga = NetlistGrammar(), gb = NetlistGrammar();
    RecordingParser a(ga.get()), b(gb.get());
    CStringList text;
    text.AddTail(kTree);
    ASSERT_EQ(0, a.Parse(&text));
    text.AddTail("(design other (cell z))");
    ASSERT_EQ(0, b.Parse(&text));
    const std::string beforeA = Snapshot(a), beforeB = Snapshot(b);
    const CZelOid* design = a.GetGoalAt(0);
    const CZelOid* cell = Child(design, 2);
    const CZelOid* port = cell->GetFirstObj()->GetNextObj();
    CStringList lines;
    for (const CZelOid* node : {design, cell, port, Child(port, 0)}) {
        for (int i = 0; i < 3; ++i)
            lines.AddTail("(port q INPUT)");
        EXPECT_EQ(nullptr, b.AddObject(node, "(port q INPUT)"));
        EXPECT_EQ(nullptr, b.AddChildObject(node, &lines));
        EXPECT_EQ(nullptr, b.InsObject(node, &lines));
        EXPECT_EQ(nullptr, b.ReplaceObject(node, &lines));
        lines.RemoveAll();
        EXPECT_EQ(0, b.RemObject(node));
        EXPECT_EQ(0, b.DeleteObject(node, 1));
        EXPECT_EQ(0, b.DeleteObject(node, 0));
        b.StoreSymbol(node, "q");
        EXPECT_EQ(-1, b.ReplaceData(node, "x1"));
        EXPECT_EQ(1, b.WriteList(node, 0, &lines));
        EXPECT_EQ(0, lines.GetCount());
        FILE* stream = std::tmpfile();
        EXPECT_EQ(1, b.WriteFile(stream, node, 0, 1));
        EXPECT_EQ(0L, std::ftell(stream));
        std::fclose(stream);
        EXPECT_EQ(1, b.WriteFile("/dev/null", node, 0, nullptr));
        ::testing::internal::CaptureStdout();
        b.PrintObj(node);
        EXPECT_EQ("", ::testing::internal::GetCapturedStdout());
        lines.RemoveAll();
    }
    EXPECT_EQ(beforeA, Snapshot(a));
    EXPECT_EQ(beforeB, Snapshot(b));
    // The node's own parser still takes it.
    EXPECT_EQ(1, a.RemObject(port));
    EXPECT_EQ(1, a.DeleteObject(cell, 1));
    EXPECT_EQ("(design top (version 1 2 3) (cell b)) (library \"x\")", Shapes(a));
}
