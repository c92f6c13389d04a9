// Navigation, searches and typed values of parsed trees.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

enum { kItem = 8 };

// The goal is an item; item = value* ")", value = ident | string | int | real | item.
Grammar ItemGrammar()
{
    Grammar g;
    g.keywords = {{"", 1, zelKW_DUMMY, 0},        {")", 1, zelKW_EOFORM, 0},     {"ident", 1, zelKW_IDENT, 0},
                  {"integer", 1, zelKW_INTTOK, 0}, {"real", 1, zelKW_REALTOK, 0}, {"string", 1, zelKW_STRTOK, 0},
                  {"value", 1, zelKW_COMPOSITE, 2}, {"$GOAL", 1, zelKW_COMPOSITE, 1}, {"item", 1, zelKW_FORM, 7}};
    g.rows = {{0, 0, 0, 0, 0, nullptr},     {kItem, S_OPT, 0, 0, 0, nullptr},  // 0; 1 goal: item
              {2, S_OPT, 0, 3, 0, nullptr}, {5, S_OPT, 0, 4, 0, nullptr},      // 2 value: ident | string
              {3, S_OPT, 0, 5, 0, nullptr}, {4, S_OPT, 0, 6, 0, nullptr},      // 4 | int | real
              {kItem, S_OPT, 0, 0, 0, nullptr},                                // 6 | item
              {6, S_OPTG | S_REPG | S_GRPHEAD, 0, 0, 8, nullptr}, {1, S_REQ | S_ONCE, 0, 0, 0, nullptr}};  // 7, 8 item
    return g;
}

struct Tree_Navigate : ::testing::Test {
    // Parses text under the item grammar, or the netlist grammar, and returns the first goal.
    const CZelOid* Load(const char* text, bool netlist = false)
    {
        const std::string file = TempFile(text);
        parser.reset(new RecordingParser((netlist ? nets : items).get()));
        EXPECT_EQ(0, parser->Parse(file.c_str(), 0)) << text;
        std::remove(file.c_str());
        return parser->GetGoalAt(0);
    }
    Grammar items = ItemGrammar(), nets = NetlistGrammar();
    std::unique_ptr<RecordingParser> parser;
};

}  // namespace

TEST_F(Tree_Navigate, LinksSearchesAndLiterals)
{
    const CZelOid* root = Load("(item first (item Alpha 1) 5 (item \"beta\") (item) (item gamma))\n");
    int keyword = -1;
    const CZelOid* first = root->GetFirstObj(&keyword);
    EXPECT_EQ(2, keyword);
    EXPECT_TRUE(!first->GetFirstObj(&keyword) && keyword == 0);
    const CZelOid* alpha = first->GetNextObj(&keyword);
    EXPECT_EQ(kItem, keyword);
    EXPECT_TRUE(!root->GetPrevObj() && !first->GetPrevObj());
    EXPECT_EQ(first, alpha->GetPrevObj());
    EXPECT_EQ(root, alpha->GetFirstObj()->GetGrandParent());
    EXPECT_EQ("(item \"beta\")", Shape(alpha->GetNextInst()));  // past the values between
    // A named search ignores case and ends at an item without a name.
    EXPECT_EQ(alpha, root->FindObj(kItem, "ALPHA"));
    EXPECT_EQ(alpha->GetNextInst(), root->FindNamedObj(kItem, "Beta"));
    EXPECT_EQ(nullptr, root->FindObj(kItem, "gamma"));
    EXPECT_EQ(nullptr, root->FindObj(kItem, nullptr));

    const CZelOid* port = Load("(design top (cell a (port p Inout)))\n", true)->FindObj(NK_CELL)->FindObj(NK_PORT);
    int literal = 0;
    EXPECT_TRUE(port->GetFirstObj()->GetNextLiteral(&literal) && literal == NK_INOUT);
    EXPECT_EQ(nullptr, port->GetFirstLiteral(&literal));
    port->RemObject();  // a released node answers as keyword 0
    EXPECT_TRUE(port->GetLitval() == 0 && port->GetObjType() == zelKW_DUMMY && !port->GetNextInst());
}

// Typed steps look at one node and refuse any other type; plain getters answer 0 or
// null for another type than the node holds.
TEST_F(Tree_Navigate, TypedValuesRefuseOtherTypes)
{
    const CZelOid* strs = Load("(item (item \"s\" \"t\" c \"d\") (item a b 7 2.5))\n")->GetFirstObj();
    const CZelOid* a = strs->GetNextObj()->GetFirstObj();
    const CZelOid* seven = a->GetNextObj()->GetNextObj();
    const char* text = nullptr;
    EXPECT_TRUE(!strs->GetFirstIdent(&text) && !text);
    EXPECT_TRUE(strs->GetFirstName(&text) && std::string(text) == "s");
    EXPECT_TRUE(a->GetParent()->GetFirstName(&text) && std::string(text) == "a");
    EXPECT_EQ(nullptr, a->GetNextObj()->GetNextIdent(&text));
    int number = 0;
    double real = 0;
    EXPECT_TRUE(a->GetNextObj()->GetNextInttok(&number) && number == 7);
    EXPECT_TRUE(a->GetNextObj()->GetNextNumber(&real) && real == 7.0);
    EXPECT_TRUE(seven->GetNextRealtok(nullptr) && !seven->GetNextInttok(&number));
    // Runs append to the list and count only what they appended.
    CStringList list;
    EXPECT_EQ(2, a->GetParent()->GetIdentList(list));
    EXPECT_EQ(2, strs->GetStrtokList(list));
    EXPECT_EQ(1, strs->GetFirstObj()->GetNextObj()->GetNextObj()->GetNextStrtokList(list));
    EXPECT_EQ(5, list.GetCount());

    const CZelOid* real25 = seven->GetNextObj();
    EXPECT_TRUE(a->GetIntval() == 0 && a->GetRealval() == 0.0 && !seven->GetIdent() && !strs->GetName());
    EXPECT_TRUE(real25->GetIntval() == 0 && seven->GetRealval() == 0.0);
    EXPECT_TRUE(seven->GetNumberval() == 7.0 && real25->GetNumberval() == 2.5);
}
