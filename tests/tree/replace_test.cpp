// Value replacement in place, and the symbol maps that text replacement fills.
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

class Tree_Replace : public ::testing::Test {
protected:
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

char* ProcA() { return nullptr; }
char* ProcB() { return nullptr; }

}  // namespace

// A value is only ever replaced by a value of the node's own kind.
TEST_F(Tree_Replace, ValueKindMustMatchTheNode)
{
    const CZelOid* cell = Child(Load("(design top (cell c (port p INPUT 4) (net n \"s\" 1.5)))"), 1);
    const CZelOid* port = Child(cell, 1);
    const CZelOid* net = Child(cell, 2);
    // Expected results of ReplaceData with an int, a double and a text.
    const struct {
        const CZelOid* node;
        int results[3];
    } cases[] = {{Child(port, 2), {1, 0, 0}}, {Child(net, 2), {0, 1, 0}}, {Child(net, 1), {0, 0, 1}},
                 {Child(net, 0), {0, 0, 1}},  {Child(port, 1), {0, 0, 0}}, {port, {0, 0, 0}}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.results[0], c.node->ReplaceData(9)) << c.node->GetKeyword();
        EXPECT_EQ(c.results[1], c.node->ReplaceData(0.25)) << c.node->GetKeyword();
        EXPECT_EQ(c.results[2], c.node->ReplaceData("t")) << c.node->GetKeyword();
    }
    EXPECT_EQ("(cell c (port p INPUT 9) (net t \"t\" 0.250000))", Shape(cell));
    CStringList list;
    list.AddTail("u");
    EXPECT_EQ(0, Child(net, 0)->ReplaceData(list));
    EXPECT_STREQ("t", Child(net, 0)->GetIdent());
}

TEST_F(Tree_Replace, ShorterTextKeepsTheBlock)
{
    const CZelOid* name = Load("(design abcdefghij)")->GetFirstObj();
    const char* block = name->GetIdent();
    EXPECT_EQ(1, name->ReplaceData("vwxyz"));
    EXPECT_EQ(block, name->GetIdent());
    EXPECT_STREQ("vwxyz", name->GetIdent());
    const std::string longer(300, 'q');
    EXPECT_EQ(1, name->ReplaceData(CString(longer.c_str())));
    EXPECT_EQ(longer, name->GetIdent());
    // The node's own text, or a part of it, may be the new text.
    EXPECT_EQ(1, name->ReplaceData(name->GetIdent() + 100));
    EXPECT_EQ(longer.substr(100), name->GetIdent());
    EXPECT_EQ(1, name->ReplaceData(name->GetIdent()));
    EXPECT_EQ(0, parser->ReplaceData(name, name->GetIdent() + 1));
    EXPECT_EQ(longer.substr(101), name->GetIdent());
}

TEST_F(Tree_Replace, RegistrationMarksTheMemberRow)
{
    Load("(bag)", EditGrammar);
    const zelSemanticS& row = grammar.rows[ED_ROW_BAG_IDENT];
    EXPECT_EQ(8, parser->RegisterSymbolTable(ED_BAG, 3, ProcA));
    EXPECT_EQ(8, parser->RegisterIdProc(ED_BAG, 3, ProcA));
    EXPECT_EQ(0, parser->RegisterIdProc(ED_BAG, 2, ProcA));
    EXPECT_EQ(0, row.attributes);
    EXPECT_EQ(ProcA, row.idProc);
    EXPECT_EQ(0, parser->RegisterSymbolTable(ED_BAG, 2, ProcA));
    EXPECT_EQ(0, parser->RegisterSymbolTable(ED_BAG, 2, ProcB));
    EXPECT_EQ(0x100, row.attributes);
    EXPECT_EQ(ProcB, row.idProc);
    EXPECT_EQ(0, parser->BuildSymbolTables());
}

TEST_F(Tree_Replace, HashedNamesAreFoundThroughTheFormMap)
{
    const CZelOid* bag = Load("(bag p q r)", EditGrammar);
    const CZelOid* p = Child(bag, 0);
    const CZelOid* q = Child(bag, 1);
    const CZelOid* r = Child(bag, 2);
    ASSERT_EQ(0, parser->RegisterSymbolTable(ED_BAG, 2, ProcA));

    // With hashing off no map is made.
    EXPECT_EQ(1, p->ReplaceData("alpha"));
    parser->SetSymbolHashing(1);
    EXPECT_EQ(nullptr, bag->FindNamedObj(2, "alpha"));

    EXPECT_EQ(1, p->ReplaceData("alpha"));
    EXPECT_EQ(p, bag->FindNamedObj(2, "alpha"));
    EXPECT_EQ(nullptr, bag->FindNamedObj(2, "ALPHA"));
    EXPECT_EQ(1, r->ReplaceData("alpha"));
    EXPECT_EQ(r, bag->FindNamedObj(2, "alpha"));

    parser->SetTraceLevel(1);
    testing::internal::CaptureStdout();
    EXPECT_EQ(1, q->ReplaceData("beta"));
    EXPECT_EQ("\nHashing symbol: beta", testing::internal::GetCapturedStdout());
    parser->SetTraceLevel(0);

    // A renamed node is found under its new name only, from either replacement.
    EXPECT_EQ(1, q->ReplaceData("gamma"));
    EXPECT_EQ(nullptr, bag->FindNamedObj(2, "beta"));
    EXPECT_EQ(0, parser->ReplaceData(q, "delta"));
    EXPECT_EQ(nullptr, bag->FindNamedObj(2, "gamma"));
    EXPECT_EQ(q, bag->FindNamedObj(2, "delta"));

    // A node that leaves the tree leaves the map.
    EXPECT_EQ(1, parser->RemObject(r));
    EXPECT_EQ(nullptr, bag->FindNamedObj(2, "alpha"));
    EXPECT_EQ(1, parser->DeleteObject(q, 1));
    EXPECT_EQ(nullptr, bag->FindNamedObj(2, "delta"));
    EXPECT_EQ("(bag alpha)", Shape(bag));
}
