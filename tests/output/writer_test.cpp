// The form writer and the list writer: exact text, wrapping, levels, results, files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

int ParseText(CZelParser& p, const std::string& text, int engine = 0)
{
    const std::string file = TempFile(text);
    const int errors = p.Parse(file.c_str(), engine);
    std::remove(file.c_str());
    return errors;
}

// The text that write puts on a stream, and write's result through result.
template <class F> std::string Captured(F write, int* result = nullptr)
{
    char* buffer = nullptr;
    size_t size = 0;
    FILE* f = open_memstream(&buffer, &size);
    const int r = write(f);
    if (result)
        *result = r;
    std::fclose(f);
    const std::string text(buffer, size);
    std::free(buffer);
    return text;
}

std::string Written(CZelParser& p, const CZelOid* node, int level = 0, int withSiblings = 1, int* result = nullptr)
{
    return Captured([&](FILE* f) { return p.WriteFile(f, node, level, withSiblings); }, result);
}

std::vector<std::string> Listed(CZelParser& p, const CZelOid* node)
{
    CStringList list;
    EXPECT_EQ(0, p.WriteList(node, 0, &list));
    std::vector<std::string> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back(static_cast<const char*>(list.GetNext(pos)));
    return out;
}

long Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

const char* const kDesign = "(design top (version 1 2 3) (cell c (port p input 4) (net n \"s\" 0.1 2)) (cell d))";

}  // namespace

TEST(Output_Writer, WritesEveryItemByteForByte)
{
    Grammar g = NetlistGrammar();
    for (int engine = 0; engine < 2; ++engine) {
        CZelParser p(g.get());
        ASSERT_EQ(0, ParseText(p, kDesign, engine));
        const CZelOid* goal = p.GetGoalAt(0);
        const std::vector<std::string> items = {
            "\n(design", "  top", "\n (version", "  1", "  2", "  3", ")", "\n (cell", "  c", "\n  (port",
            "  p", "  INPUT", "  4", ")", "\n  (net", "  n", "  \"s\"", "  0.100000", "  2.000000", ")", ")",
            "\n (cell", "  d", ")", ")"};
        EXPECT_EQ(items, Listed(p, goal));
        EXPECT_EQ(std::accumulate(items.begin(), items.end(), std::string()), Written(p, goal));

        // A double quote inside a string is written unchanged.
        ASSERT_EQ(1, goal->FindObj(NK_CELL)->FindObj(NK_NET)->FindObj(NK_STRING)->ReplaceData("a \"b\""));
        EXPECT_NE(std::string::npos, Written(p, goal).find("  n  \"a \"b\"\"  0.1"));
    }
}

TEST(Output_Writer, LevelAndSiblingFlagChooseWhatIsWritten)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    ASSERT_EQ(0, ParseText(p, kDesign));
    const CZelOid* top = p.GetGoalAt(0)->GetFirstObj();
    const CZelOid* cell = p.GetGoalAt(0)->FindObj(NK_CELL);
    const std::string cellText = "(cell  c\n  (port  p  INPUT  4)\n  (net  n  \"s\"  0.100000  2.000000))";
    struct Case {
        const CZelOid* node;
        int level, withSiblings;
        std::string text;
    } cases[] = {
        {cell, 0, 1, "\n(cell  c\n (port  p  INPUT  4)\n (net  n  \"s\"  0.100000  2.000000))"},
        {cell, 1, 1, "\n " + cellText + "\n (cell  d)"},
        {cell, 1, 0, "\n " + cellText},
        {top, 0, 0, "  top"},
        {top, 0, 1, "  top\n(version  1  2  3)\n(cell  c\n (port  p  INPUT  4)\n (net  n  \"s\"  0.100000  "
                    "2.000000))\n(cell  d)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, Written(p, c.node, c.level, c.withSiblings)) << c.text;
}

// Seven strings of ten characters pass column 60; the count restarts at 0 after a break.
TEST(Output_Writer, StringsWrapAndNumbersNever)
{
    Grammar g = NetlistGrammar(), e = EdgeGrammar();
    CZelParser p(g.get()), q(e.get());
    std::string input = "(library", expected = "\n(library", reals = "(design d (cell c (net n", ints = "(ints";
    for (int i = 0; i < 14; ++i) {
        const std::string s(10, static_cast<char>('a' + i));
        input += " \"" + s + "\"";
        expected += std::string(i == 6 || i == 13 ? "\n" : "") + "  \"" + s + "\"";
    }
    for (int i = 0; i < 300; ++i)
        reals += " 12345.5", ints += " 1234567";
    ASSERT_EQ(0, ParseText(p, input + ")\n" + reals + ")))"));
    ASSERT_EQ(0, ParseText(q, ints + ")"));
    EXPECT_EQ(expected + ")", Written(p, p.GetGoalAt(0)));
    const std::vector<std::string> items = Listed(p, p.GetGoalAt(0));
    EXPECT_EQ(1, Lines(std::accumulate(items.begin(), items.end(), std::string())));
    EXPECT_EQ(3, Lines(Written(p, p.GetGoalAt(1))));
    EXPECT_EQ(1, Lines(Written(q, q.GetGoalAt(0))));
}

TEST(Output_Writer, TraceLevelTwoAnnotatesHeadsAndValues)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    ASSERT_EQ(0, ParseText(p, "(design top (cell c (port p output)))"));
    p.SetTraceLevel(2);
    EXPECT_EQ("\n(design [P]  top [P]\n (cell [P]  c [P]\n  (port [P]  p [P]  OUTPUT [P])))",
              std::regex_replace(Written(p, p.GetGoalAt(0)), std::regex("\\[0x[0-9a-f]+\\]"), "[P]"));
}

TEST(Output_Writer, ResultsAndErrorStates)
{
    Grammar g = NetlistGrammar();
    RecordingParser p(g.get());
    ASSERT_EQ(0, ParseText(p, "(design top (cell a) (cell b))"));
    const CZelOid* goal = p.GetGoalAt(0);
    const CZelOid* freed = goal->FindObj(NK_CELL);
    ASSERT_EQ(1, p.RemObject(freed));
    int r = -1;
    for (const CZelOid* node : {static_cast<const CZelOid*>(nullptr), freed}) {
        EXPECT_EQ("", Written(p, node, 0, 1, &r));
        EXPECT_EQ(1, r);
        CStringList list;
        EXPECT_EQ(1, p.WriteList(node, 0, &list));
        EXPECT_EQ(0, list.GetCount());
    }
    EXPECT_EQ(2, p.WriteFile(nullptr, goal, 0, 1));
    EXPECT_EQ(4, p.GetErrno());
    EXPECT_EQ("\n(design  top\n (cell  b))", Written(p, goal, 0, 1, &r));
    EXPECT_EQ(0, r + p.GetErrno());

    EXPECT_EQ(1, p.WriteFile("/nonexistent-dir/x.zel", goal, 0, nullptr));
    EXPECT_EQ(4, p.GetErrno());
    EXPECT_EQ(1, p.WriteFile(static_cast<const char*>(nullptr), "w"));
    EXPECT_EQ(4, p.GetErrno());
    EXPECT_TRUE(p.reports.empty());
    EXPECT_EQ(1, p.WriteFile("/nonexistent-dir/x.zel", "w"));
    EXPECT_EQ(1u, p.reports.size());  // the failed open is reported

    CZelParser fresh(g.get());
    ASSERT_NE(nullptr, fresh.SetGoal(NK_DESIGN));
    EXPECT_EQ(1, fresh.Save());
    EXPECT_EQ(4, fresh.GetErrno());
}

// Each named-file call closes the stream of the call before, which flushes its text.
TEST(Output_Writer, SubtreeFilesWithHeaders)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    const std::string in = TempFile("(design top)");
    ASSERT_EQ(0, p.Parse(in.c_str(), 0));
    const std::vector<std::vector<const char*>> headers = {{"one\n", "two\n"}, {"a", "b"}, {}};
    const char* const texts[] = {";; one\n;; two\n\n(design  top)", ";; a;; b\n(design  top)", "\n(design  top)"};
    std::vector<std::string> files;
    for (const std::vector<const char*>& lines : headers) {
        CStringList header;
        for (const char* line : lines)
            header.AddTail(line);
        files.push_back(TempFile(""));
        EXPECT_EQ(0, p.WriteFile(files.back().c_str(), p.GetGoalAt(0), 0, lines.empty() ? nullptr : &header));
    }
    // A stream that is input and output at once is closed once and leaves no input behind.
    ASSERT_EQ(1, p.Open(in.c_str(), "rw"));
    EXPECT_EQ(0, p.WriteFile(files[0].c_str(), p.GetGoalAt(0), 0, nullptr));
    EXPECT_STREQ(in.c_str(), static_cast<const char*>(p.GetIfname()));
    p.Parse(0);
    EXPECT_EQ(1, p.GetGoalCount());
    EXPECT_EQ(1, p.Close());
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(i ? texts[i] : texts[2], ReadFile(files[i])) << i;
        std::remove(files[i].c_str());
    }
    std::remove(in.c_str());
}

TEST(Output_Writer, SaveWritesEveryGoalAndWriteFileTheFirst)
{
    Grammar g = NetlistGrammar();
    const std::string file = TempFile("(design a)\n(design b (cell c))\n");
    CZelParser p(g.get()), one(g.get());
    ASSERT_EQ(0, p.Parse(file.c_str(), 0));
    EXPECT_EQ(0, p.Save());
    EXPECT_EQ("\n(design  a)\n(design  b\n (cell  c))", ReadFile(file));
    EXPECT_EQ(0, p.WriteFile(file.c_str(), "w"));
    EXPECT_EQ("\n(design  a)", ReadFile(file));
    int r = -1;
    EXPECT_EQ("\n(design  a)", Captured([&](FILE* f) { return p.WriteFile(f); }, &r));
    EXPECT_EQ(0, r);

    ASSERT_EQ(0, one.Parse(file.c_str(), 1));
    ASSERT_NE(nullptr, one.GetGoalAt(0)->AppForm(NK_CELL));
    EXPECT_EQ(0, one.Save());
    EXPECT_EQ(Written(one, one.GetGoalAt(0)), ReadFile(file));
    std::remove(file.c_str());
}

TEST(Output_Writer, WrappingIsPerThread)
{
    Grammar g = NetlistGrammar();
    CZelParser parsers[2] = {CZelParser(g.get()), CZelParser(g.get())};
    std::string alone[2];
    for (int k = 0; k < 2; ++k) {
        std::string input = "(library";
        for (int i = 0; i < 40; ++i)
            input += " \"" + std::string(5 + (i + 4 * k) % 9, 'w') + "\"";
        ASSERT_EQ(0, ParseText(parsers[k], input + ")"));
        alone[k] = Written(parsers[k], parsers[k].GetGoalAt(0));
    }
    int bad[2] = {0, 0};
    auto run = [&](int k) {
        for (int i = 0; i < 2000; ++i)
            bad[k] += Written(parsers[k], parsers[k].GetGoalAt(0)) != alone[k];
    };
    std::thread t0(run, 0), t1(run, 1);
    t0.join();
    t1.join();
    EXPECT_EQ(0, bad[0] + bad[1]);
}

TEST(Output_Writer, LongValuesAndNamesAreWrittenWhole)
{
    Grammar g = NetlistGrammar();
    const std::string name(255, 'k'), big(100000, 'v');
    std::snprintf(g.keywords[NK_CELL].name, sizeof g.keywords[NK_CELL].name, "%s", name.c_str());
    CZelParser p(g.get());
    ASSERT_EQ(0, ParseText(p, "(design top (" + name + " c (net n \"s\")))"));
    const CZelOid* goal = p.GetGoalAt(0);
    ASSERT_EQ(1, goal->GetFirstObj()->ReplaceData(big.c_str()));
    ASSERT_EQ(1, goal->FindObj(NK_CELL)->FindObj(NK_NET)->FindObj(NK_STRING)->ReplaceData(big.c_str()));
    const std::vector<std::string> items = {"\n(design", "  " + big, "\n (" + name, "  c", "\n  (net", "  n",
                                            "  \"" + big + "\"", ")", ")", ")"};
    EXPECT_EQ(items, Listed(p, goal));
    EXPECT_EQ("\n(design\n  " + big + "\n (" + name + "  c\n  (net  n\n  \"" + big + "\")))", Written(p, goal));
}

TEST(Output_Writer, WideAndDeepTreesNeedNoDeepCalls)
{
    Grammar g = NetlistGrammar(), e = EdgeGrammar();
    CZelParser wide(g.get()), deep(e.get(), 4, 1000000);
    const size_t n = 1000000, depth = 100000;
    std::string input = "(design top\n";
    for (size_t i = 0; i < n; ++i)
        input += "(cell c)\n";
    ASSERT_EQ(0, ParseText(wide, input + ")\n", 0));
    const std::string out = TempFile("");
    ASSERT_EQ(0, wide.WriteFile(out.c_str(), wide.GetGoalAt(0), 0, nullptr));
    wide.Close();
    const std::string text = ReadFile(out);
    std::remove(out.c_str());
    ASSERT_EQ(13 + 11 * n + 1, text.size());
    EXPECT_EQ("\n(design  top\n (cell  c)", text.substr(0, 24));
    EXPECT_EQ("\n (cell  c))", text.substr(text.size() - 12));
    CStringList list;
    EXPECT_EQ(0, wide.WriteList(wide.GetGoalAt(0), 0, &list));
    EXPECT_EQ(2 + 3 * n + 1, static_cast<size_t>(list.GetCount()));

    input.clear();
    for (size_t i = 0; i < depth; ++i)
        input += "(nest\n";
    ASSERT_EQ(0, ParseText(deep, input + std::string(depth, ')') + "\n", 1));
    // Heads with 0 to depth-1 spaces and depth closing parentheses, counted, not kept.
    size_t count = 0;
    cookie_io_functions_t counter = {};
    counter.write = [](void* c, const char*, size_t size) -> ssize_t {
        *static_cast<size_t*>(c) += size;
        return static_cast<ssize_t>(size);
    };
    FILE* f = fopencookie(&count, "w", counter);
    EXPECT_EQ(0, deep.WriteFile(f, deep.GetGoalAt(0), 0, 1));
    std::fclose(f);
    EXPECT_EQ(7 * depth + depth * (depth - 1) / 2, count);
}
