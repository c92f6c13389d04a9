// The Parse entry points: files, offsets, line lists, and what they leave behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "support/test_access.h"
#include "support/test_grammars.h"

using namespace zeltest;

namespace {

class Core_Entry : public ::testing::Test {
protected:
    // Parses text from a temporary file that is removed afterwards.
    int ParseText(const char* text, int engine = 0, long offset = -1)
    {
        const std::string file = TempFile(text);
        const int result = p.Parse(file.c_str(), offset, engine);
        std::remove(file.c_str());
        return result;
    }
    int ParseLines(std::initializer_list<const char*> texts)
    {
        CStringList lines;
        for (const char* text : texts)
            lines.AddTail(text);
        return p.Parse(&lines);
    }
    Grammar g = NetlistGrammar();
    RecordingParser p{g.get()};
};

}  // namespace

TEST_F(Core_Entry, NullAndEmptyArgumentsFailBeforeParsing)
{
    EXPECT_EQ(1, p.Parse(static_cast<const char*>(nullptr), 0));
    EXPECT_EQ(1, p.Parse(static_cast<CStringList*>(nullptr)));
    EXPECT_EQ(1, ParseLines({}));
    EXPECT_EQ(0, CZelTestAccess::ErrorCount(p));
}

TEST_F(Core_Entry, InputWithoutFormsFails)
{
    const std::string name = TempFile("");
    std::remove(name.c_str());
    EXPECT_EQ(1, p.Parse(name.c_str(), 0));  // the file is created, empty
    EXPECT_EQ(3, p.GetErrno());
    EXPECT_EQ(0, access(name.c_str(), F_OK));
    std::remove(name.c_str());

    EXPECT_EQ(1, ParseText("; a comment\n\n   \n# another\n", 1));
    EXPECT_EQ(3, p.GetErrno());
}

TEST_F(Core_Entry, OffsetSkipsBytesButLinesCountFromTheFirstLineRead)
{
    EXPECT_EQ(2, ParseText("(design a)\n(design b)\n(library 5)\n", 0, 11));
    EXPECT_EQ("(design b) (library)", Shapes(p));
    ASSERT_EQ(3u, p.reports.size());
    EXPECT_EQ("3@2:Unrecognized form \"5\".\n", p.reports[0]);
}

TEST_F(Core_Entry, GoalsAccumulateUntilFullInit)
{
    EXPECT_EQ(0, ParseText("(design a)\n", 0));
    EXPECT_EQ(0, ParseText("(design a)\n", 1));
    EXPECT_EQ("(design a) (design a)", Shapes(p));
    p.FullInit();
    EXPECT_EQ(0, p.GetGoalCount());
}

TEST_F(Core_Entry, LineListParsesEachString)
{
    // The empty head string counts as input without forms; the next one parses.
    EXPECT_EQ(1, ParseLines({"", "(design a (cell c))"}));
    EXPECT_EQ(0, p.GetErrno());
    EXPECT_EQ("(design a (cell c))", Shapes(p));
    EXPECT_TRUE(p.reports.empty());

    // Reports name the string by its position from 0.
    EXPECT_EQ(3, ParseLines({"(design b)", "(library 5)"}));
    ASSERT_EQ(4u, p.reports.size());
    EXPECT_EQ("3@1:Unexpected token \"5\" within construct \"library\".\n", p.reports[1]);
    EXPECT_EQ("3@1:Missing $GOAL form: design.", p.reports[3]);
}

// A string that fails inside a form leaves no depth behind: the forms of the next
// string are top-level forms and become goals.
TEST_F(Core_Entry, LineListStartsEachStringAtTopLevel)
{
    EXPECT_NE(0, ParseLines({"(design a (cell", "(design b)"}));
    ASSERT_EQ(2, p.GetGoalCount());
    EXPECT_EQ("(design b)", Shape(p.GetGoalAt(1)));
}

TEST_F(Core_Entry, ParseAfterLineListAllocatesTheStackAgain)
{
    EXPECT_EQ(0, ParseLines({"(design a)"}));
    EXPECT_FALSE(CZelTestAccess::HasStack(p));
    for (int engine = 0; engine < 2; ++engine)
        EXPECT_EQ(0, ParseText("(design b (cell c))\n", engine));
    EXPECT_EQ(0, ParseLines({"(design a)"}));
    EXPECT_EQ("(design a) (design b (cell c)) (design b (cell c)) (design a)", Shapes(p));
}
