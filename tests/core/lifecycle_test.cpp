// The parser object: grammar lookups, the keyword index, construction, Open and Close.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "core/parser_access.h"
#include "support/test_grammars.h"

using namespace zeltest;

namespace {

zel::ParserImpl& Impl(const CZelParser& p) { return zel::ParserAccess::Of(p); }

}  // namespace

TEST(Core_Lookup, NamesAndOutOfRangeIndexes)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    for (int type : {11, -1, 1000})
        EXPECT_STREQ("", p.KwtypeToStr(type)) << type;
    // One scratch text per thread: a call on another thread leaves this one's text alone.
    const char* mine = p.SemtypeToStr(S_OPT);
    std::thread([&p] { p.SemtypeToStr(S_REQ); }).join();
    EXPECT_STREQ("S_DUMMY | S_OPT", mine);
    const zel::GrammarTables tables(g.get());
    EXPECT_EQ(nullptr, tables.ElementName(-1));
    EXPECT_EQ(-1, tables.KeywordHead(-5));
    EXPECT_EQ(-1, tables.ElementHead(-1));
}

TEST(Core_Parser, DefaultConstructedFailsCleanly)
{
    CZelParser p;
    CStringList lines;
    lines.AddTail("(design top)");
    EXPECT_EQ(0, p.Open("/dev/null", "r"));
    EXPECT_EQ(1, p.Parse("/dev/null", 0));
    EXPECT_EQ(1, p.Parse(1));
    EXPECT_EQ(1, p.Parse(&lines));
    EXPECT_EQ(nullptr, p.SetGoal(NK_DESIGN));
    EXPECT_TRUE(p.GetGoal(nullptr) == nullptr && p.GetGoalCount() == 0);
}

TEST(Core_Parser, OpenModesSetInputOutputOrBoth)
{
    const struct { const char* mode; bool missing, in, out, reads; } cases[] = {{"r", 0, 1, 0, 1}, {"w", 0, 0, 1, 0},
        {"a", 0, 0, 1, 0}, {"rw", 0, 1, 1, 1}, {"r+", 0, 1, 1, 1}, {"w+", 0, 1, 1, 0}, {"rw", 1, 1, 1, 0}};
    Grammar g = NetlistGrammar();
    for (const auto& c : cases) {
        const std::string file = TempFile("(design top)\n");
        if (c.missing)
            std::remove(file.c_str());  // "rw" creates the file
        RecordingParser p(g.get());
        ASSERT_EQ(1, p.Open(file.c_str(), c.mode)) << c.mode;
        EXPECT_EQ((c.in ? file : "") + "|" + (c.out ? file : ""), std::string(p.GetIfname()) + "|" + std::string(p.GetOfname()));
        EXPECT_EQ(c.reads, Impl(p).lexer.Gettok() == 1 && std::string(Impl(p).lexer.TokenText()) == "design") << c.mode;
        EXPECT_EQ(1, p.Close());
        EXPECT_EQ(1, p.Close());  // a closed shared stream is not closed again
        p.Open(file.c_str(), "r");
        // Its own name outlives the Close in Open; the destructor closes the stream left open.
        ASSERT_EQ(1, p.Open(p.GetIfname(), c.mode)) << c.mode;
    }
}

// Open fills the keyword index: literal names in upper case, all others in lower case. A
// failed Open reports and leaves no stream, name or index behind, not even the previous ones.
TEST(Core_Parser, OpenFillsTheIndexAndFailsCleanly)
{
    Grammar g = NetlistGrammar();
    std::strcpy(g.keywords[NK_INPUT].name, "inPut");
    std::strcpy(g.keywords[NK_CELL].name, "CeLl");
    const struct { const char* name; const char* mode; } cases[] = {
        {"/no/such/dir/x.zel", "r"}, {"/no/such/dir/x.zel", "rw"}, {"/no/such/dir/x.zel", "w"}, {nullptr, "r"}};
    for (const auto& c : cases) {
        RecordingParser p(g.get());
        ASSERT_EQ(1, p.Open("/dev/null", "rw"));
        const zel::GrammarTables& tables = Impl(p).grammar;
        EXPECT_TRUE(tables.IsKeywordKey("INPUT") && tables.IsKeywordKey("cell") && tables.IsKeywordKey("$goal"));
        EXPECT_FALSE(tables.IsKeywordKey("inPut") || tables.IsKeywordKey("CeLl") || tables.IsKeywordKey("CELL"));
        EXPECT_EQ(0, p.Open(c.name, c.mode)) << c.mode;
        EXPECT_TRUE(p.GetIfname().IsEmpty() && p.GetOfname().IsEmpty() && !tables.IsKeywordKey("cell")) << c.mode;
        EXPECT_EQ(std::string("Error: Line 0: Error opening database file: ") + (c.name ? c.name : "") + "\n", p.output);
        EXPECT_EQ(0, Impl(p).lexer.Gettok());  // no input stream is left behind
    }
}
