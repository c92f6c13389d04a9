// Value replacement in place, and the symbol maps that text replacement fills.
#include <gtest/gtest.h>

#include "tree/tree_fixture.h"

using namespace zeltest;

static char* Proc() { return nullptr; }

using Tree_Replace = TreeFixture;

TEST_F(Tree_Replace, ValuesOfTheNodesOwnKind)
{
    const CZelOid* design = Load("(design abcdefghij (cell c (port p INPUT 4) (net n \"s\" 1.5)))");
    const CZelOid *port = Child(Child(design, 1), 1), *net = port->GetNextObj();
    const std::pair<const CZelOid*, const char*> cases[] = {{Child(port, 2), "100"}, {Child(net, 2), "010"},
        {Child(net, 1), "001"}, {Child(net, 0), "001"}, {Child(port, 1), "000"}, {port, "000"}};
    for (const auto& c : cases)  // the results with an int, a double and a text
        EXPECT_EQ(c.second, std::to_string(c.first->ReplaceData(9)) + std::to_string(c.first->ReplaceData(0.25)) +
                                std::to_string(c.first->ReplaceData("t"))) << c.first->GetKeyword();
    EXPECT_EQ("(cell c (port p INPUT 9) (net t \"t\" 0.250000))", Shape(Child(design, 1)));

    const CZelOid* name = design->GetFirstObj();
    const char* block = name->GetIdent();
    EXPECT_TRUE(name->ReplaceData("vwxyz") && name->GetIdent() == block);  // a shorter text keeps the block
    const std::string longer(300, 'q');
    EXPECT_EQ(1, name->ReplaceData(CString(longer.c_str())));
    EXPECT_EQ(1, name->ReplaceData(name->GetIdent() + 100));  // a part of its own text
    EXPECT_EQ(1, name->ReplaceData(name->GetIdent()));
    EXPECT_EQ(0, parser->ReplaceData(name, name->GetIdent() + 1));
    EXPECT_EQ(longer.substr(101), name->GetIdent());
}

TEST_F(Tree_Replace, RegisteredNamesAreFoundThroughTheFormMap)
{
    const CZelOid* bag = Load("(bag p q r)", true);
    const CZelOid *p = Child(bag, 0), *q = Child(bag, 1), *r = Child(bag, 2);
    auto find = [bag](const char* name) { return bag->FindNamedObj(2, name); };
    const zelSemanticS& row = edits.rows[ED_ROW_BAG_IDENT];
    EXPECT_TRUE(parser->RegisterSymbolTable(ED_BAG, 3, Proc) == 8 && parser->RegisterIdProc(ED_BAG, 3, Proc) == 8);
    EXPECT_EQ(0, parser->RegisterIdProc(ED_BAG, 2, Proc));
    EXPECT_TRUE(row.attributes == 0 && row.idProc == Proc);
    EXPECT_EQ(0, parser->RegisterSymbolTable(ED_BAG, 2, nullptr));  // the latest procedure is kept
    EXPECT_TRUE(row.attributes == 0x100 && row.idProc == nullptr);

    EXPECT_EQ(1, p->ReplaceData("alpha"));
    parser->SetSymbolHashing(1);
    EXPECT_EQ(nullptr, find("alpha"));  // no map was made with hashing off
    EXPECT_TRUE(p->ReplaceData("alpha") && find("alpha") == p && !find("ALPHA"));
    EXPECT_TRUE(r->ReplaceData("alpha") && find("alpha") == r);
    EXPECT_EQ(1, q->ReplaceData("gamma"));
    parser->SetTraceLevel(1);
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, parser->ReplaceData(q, "delta"));
    EXPECT_EQ("\nHashing symbol: delta", testing::internal::GetCapturedStdout());
    EXPECT_TRUE(find("delta") == q && !find("gamma"));  // found under the new name only
    parser->SetTraceLevel(0);
    const CZelOid* inserted = p->InsIdent("sigma");  // an inserted value is entered as a replaced one is
    EXPECT_TRUE(inserted && find("sigma") == inserted && parser->DeleteObject(inserted, 1) && !find("sigma"));
    EXPECT_TRUE(parser->RemObject(r) && parser->DeleteObject(q, 1));
    EXPECT_TRUE(!find("alpha") && !find("delta"));  // a node that leaves the tree leaves the map
    EXPECT_EQ("(bag alpha)", Shape(bag));
}
