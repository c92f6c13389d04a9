// The form writer and the list writer: exact text, wrapping, levels, results, files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <regex>

#include "support/test_grammars.h"

using namespace zeltest;

// Load parses one line under the netlist grammar; Written and Listed give the text of the
// stream writer and of the list writer (its strings joined by "|"), then "=" and the result.
struct Output_Writer : ::testing::Test {
    const CZelOid* Load(const std::string& text)
    {
        EXPECT_EQ(0, ParseLine(p, text)) << text;
        return p.GetGoalAt(p.GetGoalCount() - 1);
    }
    std::string Written(const CZelOid* node, int level = 0, int withSiblings = 1)
    {
        int r = 0;
        const std::string text = StreamText(p, node, level, withSiblings, &r);
        return text + "=" + std::to_string(r);
    }
    std::string Listed(const CZelOid* node, int level = 0)
    {
        CStringList list;
        const int r = p.WriteList(node, level, &list);
        std::string out;
        for (POSITION pos = list.GetHeadPosition(); pos;)
            out += (out.empty() ? "" : "|") + std::string(list.GetNext(pos));
        return out + "=" + std::to_string(r);
    }
    std::string Outcome(int result) { return std::to_string(result) + "/" + std::to_string(p.GetErrno()); }
    Grammar g = NetlistGrammar();
    RecordingParser p{g.get()};
};

// One list string per head, value and ")", joined the stream text; the level and the sibling
// flag choose what the stream writer writes (a form at level 0 writes its subtree alone).
TEST_F(Output_Writer, WritesEveryItemAtEveryLevel)
{
    const CZelOid* goal = Load("(design top (version 1 2 3) (cell c (port p input 4) (net n \"s\" 0.1 2)) (cell d))");
    const std::string items = "\n(design|  top|\n (version|  1|  2|  3|)|\n (cell|  c|\n  (port|  p|  INPUT|  4|)|"
                              "\n  (net|  n|  \"s\"|  0.100000|  2.000000|)|)|\n (cell|  d|)|)=0";
    EXPECT_EQ(items, Listed(goal));
    EXPECT_EQ(std::regex_replace(items, std::regex("\\|"), ""), Written(goal));
    const CZelOid* cell = goal->FindObj(NK_CELL);
    // Without siblings: the node alone, nested at its level.
    EXPECT_EQ("\n (cell  c\n  (port  p  INPUT  4)\n  (net  n  \"s\"  0.100000  2.000000))=0", Written(cell, 1, 0));
    EXPECT_EQ("  top=0", Written(goal->GetFirstObj(), 0, 0));
    // A value longer than any line is written whole.
    const std::string value = "a (b)" + std::string(3000, 'v');
    ASSERT_EQ(1, cell->FindObj(NK_NET)->FindObj(NK_STRING)->ReplaceData(value.c_str()));
    EXPECT_NE(std::string::npos, Listed(goal).find("|  n|  \"" + value + "\"|  0.1"));
    EXPECT_NE(std::string::npos, Written(goal).find("  n\n  \"" + value + "\"  0.1"));
    p.SetTraceLevel(2);  // every head and value is followed by the node's address
    EXPECT_EQ("\n (port [P]  p [P]  INPUT [P]  4 [P])=0",
              std::regex_replace(Written(cell->FindObj(NK_PORT), 1, 0), std::regex("\\[0x[0-9a-f]+\\]"), "[P]"));
    ASSERT_EQ(1, p.RemObject(cell));  // a null or released node writes nothing: result 1
    for (const CZelOid* node : {static_cast<const CZelOid*>(nullptr), cell})
        EXPECT_EQ("=1 =1", Written(node) + " " + Listed(node));
}

// The writers follow a sibling chain's levels differently: the stream writer lets only the
// first node of a chain (here a form's name) close it at level 0, the list writer every
// node. So at levels below 1 the list stops where the stream text goes on. Indentation is
// the level's magnitude. The list strings are joined without separators.
TEST_F(Output_Writer, LevelsEndChainsAsEachWriterDoes)
{
    const CZelOid* goal = Load("(design top (version 1 2 3) (cell c (port p input 4) (net n 0.5)) (cell d))");
    const CZelOid *top = goal->GetFirstObj(), *cell = goal->FindObj(NK_CELL);
    const struct { const CZelOid* node; int level; std::string stream, list; } cases[] = {
        {goal, 0, "\n(design  top\n (version  1  2  3)\n (cell  c\n  (port  p  INPUT  4)\n  (net  n  0.500000))"
                  "\n (cell  d))", "="},
        {goal, -1, "\n (design  top\n(version  1  2  3)\n(cell  c\n (port  p  INPUT  4)\n (net  n  0.500000))"
                   "\n(cell  d))", "\n (design  top\n(version  1  2  3))"},
        {goal, -2, "\n  (design  top\n (version  1  2  3)\n (cell  c\n(port  p  INPUT  4)\n(net  n  0.500000))"
                   "\n (cell  d))",
         "\n  (design  top\n (version  1  2  3)\n (cell  c\n(port  p  INPUT  4))\n (cell  d))"},
        {top, 0, "  top\n(version  1  2  3)\n(cell  c\n (port  p  INPUT  4)\n (net  n  0.500000))\n(cell  d)",
         "  top\n(version  1  2  3)"},
        {cell, 0, "\n(cell  c\n (port  p  INPUT  4)\n (net  n  0.500000))", "="},
        {cell, 2, "\n  (cell  c\n   (port  p  INPUT  4)\n   (net  n  0.500000))\n  (cell  d)", "="},
        {cell, -1, "\n (cell  c\n(port  p  INPUT  4)\n(net  n  0.500000))\n (cell  d)",
         "\n (cell  c\n(port  p  INPUT  4))\n (cell  d)"}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.stream + "=0", Written(c.node, c.level)) << c.level << c.stream;
        const std::string listed = std::regex_replace(Listed(c.node, c.level), std::regex("\\|"), "");
        EXPECT_EQ((c.list == "=" ? c.stream : c.list) + "=0", listed) << c.level << c.stream;
    }
}

// Seven strings of ten characters pass column 60; the count restarts at 0 after a break.
// Numbers never wrap: the ten reals stay on the net's line. A write call counts its wrap
// column from 0, whatever an earlier call left: a value written first is not moved to a
// new line by the text written before it.
TEST_F(Output_Writer, StringsWrapAndNumbersNever)
{
    std::string input = "(library", expected = "\n(library";
    for (int i = 0; i < 14; ++i) {
        const std::string s(10, static_cast<char>('a' + i));
        input += " \"" + s + "\"";
        expected += std::string(i == 6 || i == 13 ? "\n" : "") + "  \"" + s + "\"";
    }
    EXPECT_EQ(expected + ")=0", Written(Load(input + ")")));
    const std::string quoted = "\"" + std::string(25, 'x') + "\"";
    const CZelOid* two = Load("(library " + quoted + " " + quoted + ")");
    EXPECT_EQ("\n(library  " + quoted + "  " + quoted + ")=0", Written(two));  // ends past column 60
    EXPECT_EQ("  " + quoted + "=0", Written(Child(two, 1)));
    const std::string design = Written(Load("(design d (cell c (net n 1.5 2.5 3.5 4.5 5.5 6.5 7.5 8.5 9.5 10.5)))"));
    EXPECT_EQ(3, std::count(design.begin(), design.end(), '\n')) << design;
}

// Reals are written as "%lf" writes them (six decimals rounded from the exact binary value)
// whenever that text reads back as the same double, at every magnitude and sign, on ties
// (multiples of 1/128) and next to them; otherwise with the fewest digits that read back,
// in fixed notation with a period.
TEST_F(Output_Writer, RealsAreWrittenAsPrintfWritesThemWhenThatReadsBack)
{
    const CZelOid* real = Load("(design d (cell c (net n 0.5)))")->FindObj(NK_CELL)->FindObj(NK_NET)->FindObj(NK_REAL);
    ASSERT_NE(nullptr, real);
    std::vector<double> values = {0.0, -0.0, 1e-9, -1e-9, 0.0000005, 0.0078125, -0.0078125, 2.5e-6, 999999999.9999995,
                                  1e9, -1e9, 123456789.123456789, 1e20, -3.5e300, 4.35, 720.17, 0.1, 1.0 / 3, 5e-324};
    std::mt19937_64 random(5);
    for (int i = 0; i < 3000; ++i) {
        const double magnitude = std::pow(10.0, static_cast<int>(random() % 22) - 8);
        const double value = (static_cast<double>(random() % 2000001) - 1000000.0) / 1000000.0 * magnitude;
        values.push_back(i % 3 ? value : std::ldexp(static_cast<double>(random() % 100000), -7));
    }
    const auto sameBits = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (const double value : values) {
        ASSERT_EQ(1, real->ReplaceData(value));
        char sixDecimals[400];
        std::snprintf(sixDecimals, sizeof sixDecimals, "%lf", value);
        const std::string listed = Listed(real);
        if (sameBits(std::strtod(sixDecimals, nullptr), value)) {
            EXPECT_EQ("  " + std::string(sixDecimals) + "=0", listed) << value;
            continue;
        }
        const std::string text = listed.substr(2, listed.size() - 4);
        EXPECT_TRUE(sameBits(std::strtod(text.c_str(), nullptr), value)) << text;
        EXPECT_EQ(std::string::npos, text.find_first_not_of("-0123456789.")) << text;
        EXPECT_NE(std::string::npos, text.find('.')) << text;
        const std::string shorter = text.substr(0, text.size() - 1);
        EXPECT_FALSE(sameBits(std::strtod(shorter.c_str(), nullptr), value)) << text;
    }
}

// Each named-file call closes the stream of the call before, which flushes its text; a stream
// open for input and output is closed once and leaves no input behind. Results: 2 for a null
// stream, 1 for a failed open, with state 4 that a success clears; only Open reports.
TEST_F(Output_Writer, NamedFilesResultsAndErrorStates)
{
    const std::string in = TempFile("(design a)\n(design b (cell c))\n"), first = TempFile(""), second = TempFile("");
    ASSERT_EQ(0, p.Parse(in.c_str(), 0));
    CStringList header;
    header.AddTail("one\n");
    header.AddTail("two");  // each string written as given after ";; "
    EXPECT_EQ(0, p.WriteFile(first.c_str(), p.GetGoalAt(0), 0, &header));
    ASSERT_EQ(1, p.Open(in.c_str(), "rw"));
    EXPECT_EQ(0, p.WriteFile(second.c_str(), p.GetGoalAt(1), 0, nullptr));
    p.Parse(0);
    EXPECT_EQ(2, p.GetGoalCount());
    p.Close();
    EXPECT_EQ(";; one\n;; two\n(design  a)", ReadFile(first));
    EXPECT_EQ("\n(design  b\n (cell  c))", ReadFile(second));
    EXPECT_EQ("1/4", Outcome(p.Save()));  // Close cleared the name
    EXPECT_EQ("0/0", Outcome(p.WriteFile(in.c_str(), "w")));  // the first goal alone
    EXPECT_EQ("\n(design  a)", ReadFile(in));
    EXPECT_EQ("2/4", Outcome(p.WriteFile(nullptr, p.GetGoalAt(0), 0, 1)));
    EXPECT_EQ("1/4", Outcome(p.WriteFile(static_cast<const char*>(nullptr), "w")));
    EXPECT_EQ(1, p.WriteFile("/nonexistent-dir/x.zel", "w"));
    EXPECT_EQ(1u, p.reports.size());
}

// A string that another writer broke across lines holds the line break and the
// continuation; with lines ending in CR LF it holds the CR too. The text written reads
// back as the same tree, and is written again the same, with both engines.
TEST_F(Output_Writer, StringsBrokenAcrossLinesAndCrLfLinesWriteBack)
{
    const std::string text = "(design top\r\n (cell c\r\n  (net n \"a string that another writer wrapped at eighty columns,\r\n"
                             "   going on here\" 1.5)\r\n  (net m \"x\ny\")))\r\n";
    for (int engine = 0; engine < 2; ++engine) {
        RecordingParser first(g.get());
        ASSERT_EQ(0, ParseText(first, text, engine));
        const std::string written = StreamText(first, first.GetGoalAt(0));
        RecordingParser back(g.get());
        ASSERT_EQ(0, ParseText(back, written, engine)) << written;
        EXPECT_EQ(Shapes(first), Shapes(back));
        EXPECT_NE(std::string::npos, Shapes(back).find("columns,\r\n   going on here\""));
        EXPECT_EQ(written, StreamText(back, back.GetGoalAt(0)));
    }
}
