// The form writer and the list writer: exact text, wrapping, levels, results, files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <regex>
#include <string>
#include <vector>

#include "support/test_grammars.h"

using namespace zeltest;

static int ParseText(CZelParser& p, const std::string& text)
{
    const std::string file = TempFile(text);
    const int errors = p.Parse(file.c_str(), 0);
    std::remove(file.c_str());
    return errors;
}

// The text that the tree writer puts on a stream, and its result through result.
static std::string Written(CZelParser& p, const CZelOid* node, int level = 0, int withSiblings = 1, int* result = nullptr)
{
    char* buffer = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&buffer, &size);
    const int r = p.WriteFile(f, node, level, withSiblings);
    std::fclose(f);
    const std::string text(buffer, size);
    std::free(buffer);
    return result ? (*result = r, text) : text;
}

static std::vector<std::string> Listed(CZelParser& p, const CZelOid* node)
{
    CStringList list;
    EXPECT_EQ(0, p.WriteList(node, 0, &list));
    std::vector<std::string> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(static_cast<const char*>(list.GetNext(pos)));
    return out;
}

static long Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

// One list string per head, value and ")", joined the stream text; the level and the sibling
// flag choose what the stream writer writes.
TEST(Output_Writer, WritesEveryItemAtEveryLevel)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    ASSERT_EQ(0, ParseText(p, "(design top (version 1 2 3) (cell c (port p input 4) (net n \"s\" 0.1 2)) (cell d))"));
    const CZelOid* goal = p.GetGoalAt(0);
    std::vector<std::string> items = {
        "\n(design", "  top", "\n (version", "  1", "  2", "  3", ")", "\n (cell", "  c", "\n  (port",
        "  p", "  INPUT", "  4", ")", "\n  (net", "  n", "  \"s\"", "  0.100000", "  2.000000", ")", ")",
        "\n (cell", "  d", ")", ")"};
    EXPECT_EQ(items, Listed(p, goal));
    EXPECT_EQ(std::accumulate(items.begin(), items.end(), std::string()), Written(p, goal));

    const CZelOid* top = goal->GetFirstObj();
    const CZelOid* cell = goal->FindObj(NK_CELL);
    const std::string cellText = "(cell  c\n (port  p  INPUT  4)\n (net  n  \"s\"  0.100000  2.000000))";
    const std::string nested = std::regex_replace(cellText, std::regex("\n"), "\n ");
    const struct { const CZelOid* node; int level, withSiblings; std::string text; } cases[] = {
        {cell, 0, 1, "\n" + cellText},  // a form with children at level 0: its subtree alone
        {cell, 1, 1, "\n " + nested + "\n (cell  d)"},
        {cell, 1, 0, "\n " + nested},
        {top, 0, 0, "  top"},
        {top, 0, 1, "  top\n(version  1  2  3)\n" + cellText + "\n(cell  d)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, Written(p, c.node, c.level, c.withSiblings)) << c.text;

    // A double quote inside a string is written unchanged, a value longer than any line whole.
    const std::string value = "a \"b\"" + std::string(3000, 'v');
    ASSERT_EQ(1, cell->FindObj(NK_NET)->FindObj(NK_STRING)->ReplaceData(value.c_str()));
    items[16] = "  \"" + value + "\"";
    EXPECT_EQ(items, Listed(p, goal));
    EXPECT_NE(std::string::npos, Written(p, goal).find("  n\n  \"" + value + "\"  0.1"));

    p.SetTraceLevel(2);  // every head and value is followed by the node's address
    EXPECT_EQ("\n (port [P]  p [P]  INPUT [P]  4 [P])",
              std::regex_replace(Written(p, cell->FindObj(NK_PORT), 1, 0), std::regex("\\[0x[0-9a-f]+\\]"), "[P]"));
}

// Seven strings of ten characters pass column 60; the count restarts at 0 after a break.
TEST(Output_Writer, StringsWrapAndNumbersNever)
{
    Grammar g = NetlistGrammar(), e = EdgeGrammar();
    CZelParser p(g.get()), q(e.get());
    std::string input = "(library", expected = "\n(library";
    for (int i = 0; i < 14; ++i) {
        const std::string s(10, static_cast<char>('a' + i));
        input += " \"" + s + "\"";
        expected += std::string(i == 6 || i == 13 ? "\n" : "") + "  \"" + s + "\"";
    }
    ASSERT_EQ(0, ParseText(p, input + ")\n(design d (cell c (net n 1.5 2.5 3.5 4.5 5.5 6.5 7.5 8.5 9.5 10.5)))"));
    ASSERT_EQ(0, ParseText(q, "(ints 1111111 2222222 3333333 4444444 5555555 6666666 7777777 8888888 9999999)"));
    EXPECT_EQ(expected + ")", Written(p, p.GetGoalAt(0)));
    EXPECT_EQ(3, Lines(Written(p, p.GetGoalAt(1))));
    EXPECT_EQ(1, Lines(Written(q, q.GetGoalAt(0))));
}

TEST(Output_Writer, ResultsAndErrorStates)
{
    Grammar g = NetlistGrammar();
    RecordingParser p(g.get());
    ASSERT_EQ(0, ParseText(p, "(design top (cell a) (cell b))"));
    const CZelOid* goal = p.GetGoalAt(0);
    const CZelOid* freed = goal->FindObj(NK_CELL);
    ASSERT_EQ(1, p.RemObject(freed));
    // Each call's result and the error state it leaves.
    auto outcome = [&p](int result) { return std::to_string(result) + "/" + std::to_string(p.GetErrno()); };
    int r = -1;
    for (const CZelOid* node : {static_cast<const CZelOid*>(nullptr), freed}) {
        CStringList list;
        EXPECT_EQ("", Written(p, node, 0, 1, &r));
        EXPECT_EQ((std::vector<int>{1, 1, 0}), (std::vector<int>{r, p.WriteList(node, 0, &list), list.GetCount()}));
    }
    EXPECT_EQ("2/4", outcome(p.WriteFile(nullptr, goal, 0, 1)));
    EXPECT_EQ("\n(design  top\n (cell  b))", Written(p, goal, 0, 1, &r));
    EXPECT_EQ("0/0", outcome(r));
    EXPECT_EQ("1/4", outcome(p.WriteFile("/nonexistent-dir/x.zel", goal, 0, nullptr)));
    EXPECT_EQ("1/4", outcome(p.WriteFile(static_cast<const char*>(nullptr), "w")));
    EXPECT_TRUE(p.reports.empty());
    EXPECT_EQ(1, p.WriteFile("/nonexistent-dir/x.zel", "w"));
    EXPECT_EQ(1u, p.reports.size());  // only the failed open is reported
}

// Each named-file call closes the stream of the call before, which flushes its text. Save needs
// an output file name; the first-goal overloads write the first goal alone.
TEST(Output_Writer, NamedFilesHeadersAndSave)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    const std::string in = TempFile("(design a)\n(design b (cell c))\n");
    const std::string files[] = {TempFile(""), TempFile(""), TempFile("")};
    ASSERT_EQ(0, p.Parse(in.c_str(), 0));
    const char* const words[] = {"one\n", "two\n", "a", "b"};
    CStringList headers[2];
    for (int i = 0; i < 4; ++i)
        headers[i / 2].AddTail(words[i]);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(0, p.WriteFile(files[i].c_str(), p.GetGoalAt(0), 0, &headers[i]));
    // A stream that is input and output at once is closed once and leaves no input behind.
    ASSERT_EQ(1, p.Open(in.c_str(), "rw"));
    EXPECT_EQ(0, p.WriteFile(files[2].c_str(), p.GetGoalAt(1), 0, nullptr));
    p.Parse(0);
    EXPECT_EQ(2, p.GetGoalCount());
    p.Close();
    const char* const texts[] = {";; one\n;; two\n\n(design  a)", ";; a;; b\n(design  a)", "\n(design  b\n (cell  c))"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(texts[i], ReadFile(files[i])) << i;
        std::remove(files[i].c_str());
    }
    EXPECT_EQ((std::vector<int>{1, 4}), (std::vector<int>{p.Save(), p.GetErrno()}));  // Close cleared the name
    EXPECT_EQ(0, p.WriteFile(in.c_str(), "w"));
    EXPECT_EQ("\n(design  a)", ReadFile(in));
    std::remove(in.c_str());
}
