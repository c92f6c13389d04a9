#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <future>
#include <string>
#include <thread>
#include <unistd.h>

#include "support/test_access.h"
#include "support/test_grammars.h"

using namespace zeltest;
using A = CZelTestAccess;

TEST(Core_Lookup, FlagAndTypeNames)
{
    const char* all = "S_DUMMY | S_REQ | S_OPT | S_LIT | S_ONCE | S_REQG | S_OPTG | S_REPG | S_GRPHEAD";
    const struct { int flags; const char* text; } flags[] = {
        {0, "S_DUMMY"}, {0x11, "S_DUMMY | S_REQ | S_REQG"}, {0xFF, all}, {0x100, "S_DUMMY"}, {-1, all}};
    CZelParser p;
    for (const auto& c : flags)
        EXPECT_STREQ(c.text, p.SemtypeToStr(c.flags)) << c.flags;
    const char* first = p.SemtypeToStr(S_REQ);
    p.SemtypeToStr(S_OPT);
    EXPECT_STREQ("S_DUMMY | S_OPT", first);  // one scratch text per thread

    const struct { int type; const char* name; } types[] = {
        {0, "zelKW_DUMMY"}, {8, "zelKW_LIT"}, {10, "zelKW_EMPTYFORM"}, {11, ""}, {-1, ""}, {1000, ""}};
    for (const auto& c : types)
        EXPECT_STREQ(c.name, p.KwtypeToStr(c.type)) << c.type;
}

TEST(Core_Lookup, SemtypeToStrScratchIsPerThread)
{
    CZelParser p;
    std::promise<void> written, overwritten;
    std::string seen;
    std::thread other([&] {
        const char* text = p.SemtypeToStr(S_REQ);
        written.set_value();
        overwritten.get_future().wait();
        seen = text;
    });
    written.get_future().wait();
    p.SemtypeToStr(S_OPT);
    overwritten.set_value();
    other.join();
    EXPECT_EQ("S_DUMMY | S_REQ", seen);
}

TEST(Core_Lookup, IndexLookupsAndGroupHeads)
{
    Grammar g = NetlistGrammar();
    g.rows[6].semType = S_REQ | S_REPG;  // a group member after design's cell head (row 5)
    g.rows[3].semType = S_OPTG;          // a group member with no head before it
    CZelParser p(g.get());
    EXPECT_EQ(nullptr, A::SemanticKeyword(p, -1));
    EXPECT_EQ(-1, A::KeywordSemanticId(p, -5));
    EXPECT_EQ(-1, A::SemanticHead(p, -1));
    EXPECT_EQ(16, A::SemanticHead(p, 14));  // row 14 stands for port, whose rule starts at 16
    const struct { int row, head; } cases[] = {{5, 5}, {6, 5}, {12, 12}, {3, -1}, {4, -1}, {13, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(c.head, A::GroupHead(p, c.row)) << c.row;
}

TEST(Core_Lookup, KeywordIndexCaseRules)
{
    Grammar g = NetlistGrammar();
    std::strcpy(g.keywords[NK_INPUT].name, "inPut");  // literal: indexed upper case
    std::strcpy(g.keywords[NK_CELL].name, "CeLl");    // form: indexed lower case
    CZelParser p(g.get());
    std::string file = TempFile("");
    EXPECT_FALSE(A::HasKeyword(p, "design"));  // empty before the first Open
    ASSERT_EQ(1, p.Open(file.c_str(), "r"));
    for (const char* key : {"INPUT", "cell", "OUTPUT", "$goal", "design"})
        EXPECT_TRUE(A::HasKeyword(p, key)) << key;
    for (const char* key : {"inPut", "input", "CeLl", "CELL", "$GOAL"})
        EXPECT_FALSE(A::HasKeyword(p, key)) << key;
    p.Close();
    EXPECT_FALSE(A::HasKeyword(p, "cell"));
    std::remove(file.c_str());
}

TEST(Core_Parser, DefaultConstructedFailsCleanly)
{
    CZelParser p;
    EXPECT_EQ(0, p.GetErrno());
    std::string file = TempFile("(design top)\n");
    CStringList lines;
    lines.AddTail("(design top)");
    EXPECT_EQ(0, p.Open(file.c_str(), "r"));
    EXPECT_EQ(1, p.Parse(file.c_str(), 0));
    EXPECT_EQ(1, p.Parse(1));
    EXPECT_EQ(1, p.Parse(&lines));
    EXPECT_EQ(nullptr, p.SetGoal(NK_DESIGN));
    p.FullInit();
    EXPECT_TRUE(p.GetGoal(nullptr) == nullptr && p.GetGoalCount() == 0);
    EXPECT_EQ(1, p.Close());
    std::remove(file.c_str());
}

TEST(Core_Parser, GoalLimitAbove16Clamps)
{
    std::string text;
    for (int i = 0; i < 17; ++i)
        text += "(design d" + std::to_string(i) + ")\n";
    std::string file = TempFile(text);
    for (int engine = 0; engine < 2; ++engine) {
        Grammar g = NetlistGrammar();
        RecordingParser p(g.get(), 17);
        p.Parse(file.c_str(), engine);
        EXPECT_EQ(16, p.GetGoalCount()) << engine;
        EXPECT_EQ("(design d15)", Shape(p.GetGoalAt(15)));
    }
    std::remove(file.c_str());
}

TEST(Core_Parser, OpenModesSetInputOutputOrBoth)
{
    const struct { const char* mode; bool in, out, reads; } cases[] = {
        {"r", 1, 0, 1}, {"w", 0, 1, 0}, {"a", 0, 1, 0}, {"rw", 1, 1, 1}, {"r+", 1, 1, 1}, {"w+", 1, 1, 0}};
    Grammar g = NetlistGrammar();
    for (const auto& c : cases) {
        std::string file = TempFile("(design top)\n");
        RecordingParser p(g.get());
        ASSERT_EQ(1, p.Open(file.c_str(), c.mode)) << c.mode;
        EXPECT_EQ(c.in ? file : "", std::string(p.GetIfname())) << c.mode;
        EXPECT_EQ(c.out ? file : "", std::string(p.GetOfname())) << c.mode;
        EXPECT_EQ(c.reads, A::Gettok(p) == 1 && A::Token(p) == "design") << c.mode;
        EXPECT_EQ(1, p.Close());
        EXPECT_EQ(1, p.Close());  // a closed shared stream is not closed again
        EXPECT_TRUE(p.GetIfname().IsEmpty() && p.GetOfname().IsEmpty());
        // The parser's own name survives the Close that Open starts with.
        p.Open(file.c_str(), "r");
        ASSERT_EQ(1, p.Open(p.GetIfname(), c.mode)) << c.mode;
        std::remove(file.c_str());  // the destructor closes a stream left open
    }
    std::string missing = "/tmp/zel_lifecycle_" + std::to_string(getpid()) + ".zel";
    std::remove(missing.c_str());
    RecordingParser p(g.get());
    ASSERT_EQ(1, p.Open(missing.c_str(), "rw"));
    EXPECT_EQ(0, access(missing.c_str(), F_OK));
    EXPECT_EQ(missing, std::string(p.GetOfname()));
    std::remove(missing.c_str());
}

TEST(Core_Parser, OpenFailureReportsAndLeavesNothingOpen)
{
    std::string good = TempFile("(design top)\n");
    const char* bad = "/nonexistent_zel_dir/x.zel";
    const struct { const char* name; const char* mode; } cases[] = {
        {bad, "r"}, {bad, "rw"}, {bad, "w"}, {nullptr, "r"}};
    Grammar g = NetlistGrammar();
    for (const auto& c : cases) {
        RecordingParser p(g.get());
        ASSERT_EQ(1, p.Open(good.c_str(), "rw"));
        EXPECT_EQ(0, p.Open(c.name, c.mode)) << c.mode;
        EXPECT_TRUE(p.GetIfname().IsEmpty() && p.GetOfname().IsEmpty()) << c.mode;
        EXPECT_FALSE(A::HasKeyword(p, "design"));
        EXPECT_EQ(std::string("Error: Line 0: Error opening database file: ") + (c.name ? c.name : "") + "\n",
                  p.output);
        EXPECT_EQ(0, A::Gettok(p));  // no input stream is left behind
    }
    std::remove(good.c_str());
}
