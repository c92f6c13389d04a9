// The Parse entry points: files, offsets, line lists, and what they leave behind.
#include <gtest/gtest.h>

#include "core/parser_access.h"
#include "support/test_grammars.h"

using namespace zeltest;

class Core_Entry : public ::testing::Test {
protected:
    int ParseLines(std::initializer_list<const char*> texts)
    {
        TextList lines(texts);
        return p.Parse(&lines);
    }
    Grammar g = NetlistGrammar();
    RecordingParser p{g.get()};
};

// A file parse may start at a byte offset; report lines still count from the first line read.
TEST_F(Core_Entry, FileParseFailuresAndOffsets)
{
    EXPECT_EQ(2, p.Parse(TempFile("(design a)\n(design b)\n(library 5)\n").c_str(), 11L, 0));
    EXPECT_EQ("(design b) (library)", Shapes(p));
    EXPECT_EQ("3@2:Unrecognized form \"5\".\n", p.reports.at(0));
    EXPECT_EQ(1, p.Parse(static_cast<const char*>(nullptr), 0));
    EXPECT_EQ(1, ParseText(p, "; a comment\n\n   \n# another\n", 1));
    EXPECT_EQ(3, p.GetErrno());
}

// Each string of a line list parses on its own from the top level: a string that fails
// inside a form leaves no depth behind. Reports name the string by its position from 0.
// Goals accumulate over parses of every kind; a file parse after a line list, which
// releases the parse stack, allocates it again.
TEST_F(Core_Entry, LineListsAndFileParsesShareTheGoals)
{
    EXPECT_EQ(1, p.Parse(static_cast<CStringList*>(nullptr)));
    EXPECT_EQ(1, ParseLines({}));
    EXPECT_EQ(0, zel::ParserAccess::Of(p).reporter.Errors());
    EXPECT_EQ(1, ParseLines({"", "(design a (cell c))"}));  // the empty head string has no forms
    EXPECT_EQ(0, p.GetErrno());
    EXPECT_FALSE(zel::ParserAccess::Of(p).stack.Allocated());
    EXPECT_EQ(0, ParseText(p, "(design b)\n", 1));
    EXPECT_EQ(3, ParseLines({"(design c)", "(library 5)"}));
    EXPECT_EQ((std::vector<std::string>{"3@1:Unrecognized form \"5\".\n",
                                        "3@1:Unexpected token \"5\" within construct \"library\".\n",
                                        "1@1:Skipping rest of form: library.\n", "3@1:Missing $GOAL form: design."}), p.reports);
    EXPECT_EQ("(design a (cell c)) (design b) (design c) (library)", Shapes(p));
    p.FullInit();
    EXPECT_NE(0, ParseLines({"(design a (cell", "(design b)"}));
    EXPECT_EQ(0, ParseText(p, "(design c)\n", 0));
    EXPECT_EQ("(design a (cell)) (design b) (design c)", Shapes(p));
}
