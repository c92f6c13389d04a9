// Navigation, searches and typed values of parsed trees.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

enum { kItem = 8 };

// A form holding any run of values and nested items:
//   goal  item
//   item  = value* ")"       value = ident | string | int | real | item   (a composite)
Grammar ItemGrammar()
{
    Grammar g;
    g.keywords = {{"", 1, zelKW_DUMMY, 0},        {")", 1, zelKW_EOFORM, 0},     {"ident", 1, zelKW_IDENT, 0},
                  {"integer", 1, zelKW_INTTOK, 0}, {"real", 1, zelKW_REALTOK, 0}, {"string", 1, zelKW_STRTOK, 0},
                  {"value", 1, zelKW_COMPOSITE, 2}, {"$GOAL", 1, zelKW_COMPOSITE, 1}, {"item", 1, zelKW_FORM, 7}};
    g.rows = {
        {0, 0, 0, 0, 0, nullptr},                                  // 0
        {kItem, S_OPT, 0, 0, 0, nullptr},                          // 1 goal: item
        {2, S_OPT, 0, 3, 0, nullptr},                              // 2 value: ident
        {5, S_OPT, 0, 4, 0, nullptr},                              // 3        | string
        {3, S_OPT, 0, 5, 0, nullptr},                              // 4        | int
        {4, S_OPT, 0, 6, 0, nullptr},                              // 5        | real
        {kItem, S_OPT, 0, 0, 0, nullptr},                          // 6        | item
        {6, S_OPTG | S_REPG | S_GRPHEAD, 0, 0, 8, nullptr},        // 7 item: value*
        {1, S_REQ | S_ONCE, 0, 0, 0, nullptr},                     // 8       ")"
    };
    return g;
}

class Tree_Navigate : public ::testing::Test {
protected:
    // Parses text and returns its first goal.
    const CZelOid* Load(const char* text, Grammar (*make)() = ItemGrammar)
    {
        parser.reset();  // the old parser goes before the tables it reads
        grammar = make();
        parser.reset(new RecordingParser(grammar.get()));
        const std::string file = TempFile(text);
        result = parser->Parse(file.c_str(), 0);
        std::remove(file.c_str());
        return parser->GetGoalAt(0);
    }
    Grammar grammar;
    std::unique_ptr<RecordingParser> parser;
    int result = 0;
};

}  // namespace

TEST_F(Tree_Navigate, LinksBetweenSiblingsAndParents)
{
    const CZelOid* root = Load("(item first (item) 7 2.5 (item x) \"s\")\n");
    ASSERT_EQ(0, result);
    int keyword = -1;
    const CZelOid* first = root->GetFirstObj(&keyword);
    EXPECT_EQ(2, keyword);
    EXPECT_EQ(nullptr, first->GetFirstObj(&keyword));
    EXPECT_EQ(0, keyword);
    const CZelOid* empty = first->GetNextObj(&keyword);
    EXPECT_EQ(kItem, keyword);
    EXPECT_EQ(nullptr, first->GetPrevObj());
    EXPECT_EQ(first, empty->GetPrevObj());
    EXPECT_EQ(root, empty->GetParent());
    EXPECT_EQ(nullptr, root->GetParent());
    // The next item, skipping the values between them.
    EXPECT_EQ("(item x)", Shape(empty->GetNextInst()));
    EXPECT_EQ(nullptr, empty->GetNextInst()->GetNextInst());
    EXPECT_EQ(root, empty->GetNextInst()->GetFirstObj()->GetGrandParent());
}

TEST_F(Tree_Navigate, ChildrenOfAFailedFormHaveNoParent)
{
    const CZelOid* design = Load("(design top (version 1 x))\n", NetlistGrammar);
    ASSERT_NE(0, result);
    const CZelOid* version = design->FindObj(NK_VERSION);
    ASSERT_NE(nullptr, version);
    const CZelOid* one = version->GetFirstObj();
    ASSERT_NE(nullptr, one);
    EXPECT_EQ(1, one->GetIntval());
    EXPECT_EQ(nullptr, one->GetParent());
    EXPECT_EQ(nullptr, one->GetPrevObj());
}

TEST_F(Tree_Navigate, TypedIterationStopsAtAnotherType)
{
    const CZelOid* root = Load("(item (item \"s\" b) (item a b c 7 2.5) (item 7))\n");
    ASSERT_EQ(0, result);
    const CZelOid* strFirst = root->GetFirstObj();
    const CZelOid* idents = strFirst->GetNextObj();
    const CZelOid* seven = idents->GetNextObj();
    const char* text = nullptr;
    EXPECT_EQ(nullptr, strFirst->GetFirstIdent(&text));
    EXPECT_EQ(nullptr, text);
    EXPECT_NE(nullptr, strFirst->GetFirstName(&text));
    EXPECT_STREQ("s", text);
    EXPECT_NE(nullptr, idents->GetFirstName(&text));
    EXPECT_STREQ("a", text);
    EXPECT_EQ(nullptr, seven->GetFirstName(&text));

    CStringList list;
    EXPECT_EQ(3, idents->GetIdentList(list));
    EXPECT_EQ(3, list.GetCount());
    const CZelOid* c = idents->GetFirstObj()->GetNextObj()->GetNextObj();
    EXPECT_EQ(nullptr, c->GetNextIdent(&text));
    int number = 0;
    EXPECT_NE(nullptr, c->GetNextInttok(&number));
    EXPECT_EQ(7, number);
    double real = 0;
    EXPECT_NE(nullptr, c->GetNextInttok(nullptr)->GetNextRealtok(&real));
    EXPECT_EQ(2.5, real);
    EXPECT_NE(nullptr, seven->GetFirstNumber(&real));
    EXPECT_EQ(7.0, real);
    EXPECT_EQ(nullptr, seven->GetFirstRealtok(&real));

    // String runs append to the list and count only what they appended.
    root = Load("(item \"a\" \"b\" c \"d\")\n");
    EXPECT_EQ(2, root->GetStrtokList(list));
    EXPECT_EQ(5, list.GetCount());
    EXPECT_EQ(1, root->GetFirstObj()->GetNextObj()->GetNextObj()->GetNextStrtokList(list));
}

TEST_F(Tree_Navigate, NamedSearchIgnoresCaseAndStopsAtAnEmptyInstance)
{
    const CZelOid* root = Load("(item (item Alpha 1) 5 (item \"beta\") (item) (item gamma))\n");
    ASSERT_EQ(0, result);
    EXPECT_EQ("(item Alpha 1)", Shape(root->FindObj(kItem, "ALPHA")));
    EXPECT_EQ("(item \"beta\")", Shape(root->FindNamedObj(kItem, "Beta")));
    EXPECT_EQ(nullptr, root->FindObj(kItem, "gamma"));
    EXPECT_EQ(nullptr, root->FindObj(kItem, nullptr));
}

// A getter asked for another type than the node holds answers 0 or null.
TEST_F(Tree_Navigate, ValueGettersRefuseOtherTypes)
{
    const CZelOid* name = Load("(item name 7 2.5 \"s\")\n")->GetFirstObj();
    const CZelOid* seven = name->GetNextObj();
    const CZelOid* real = seven->GetNextObj();
    EXPECT_EQ(0, name->GetIntval());
    EXPECT_EQ(0.0, name->GetRealval());
    EXPECT_EQ(nullptr, seven->GetIdent());
    EXPECT_EQ(7.0, seven->GetNumberval());
    EXPECT_EQ(0, real->GetIntval());
    EXPECT_EQ(2.5, real->GetNumberval());
    EXPECT_STREQ("s", real->GetNextObj()->GetStrval());
    EXPECT_EQ(nullptr, name->GetParent()->GetName());
}

TEST_F(Tree_Navigate, LiteralsAndReleasedNodes)
{
    const CZelOid* design = Load("(design top (cell a (port p Inout)))\n", NetlistGrammar);
    ASSERT_EQ(0, result);
    const CZelOid* port = design->FindObj(NK_CELL)->FindObj(NK_PORT);
    int literal = 0;
    ASSERT_NE(nullptr, port->GetFirstObj()->GetNextLiteral(&literal));
    EXPECT_EQ(NK_INOUT, literal);
    EXPECT_EQ(nullptr, port->GetFirstLiteral(&literal));

    port->RemObject();
    EXPECT_EQ(0, port->GetKeywordId());
    EXPECT_EQ(0, port->GetLitval());
    EXPECT_EQ(zelKW_DUMMY, port->GetObjType());
    EXPECT_EQ(nullptr, port->GetNextInst());
    EXPECT_EQ("(design top (cell a))", Shape(design));
}
