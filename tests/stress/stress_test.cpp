// Large and hostile inputs, each sized to run in seconds: nothing may crash, loop, leak
// or be cut short.
#include <gtest/gtest.h>

#include <malloc.h>
#include <memory>
#include <thread>

#include "core/parser_access.h"
#include "support/test_grammars.h"

using namespace zeltest;

// The recursive engine reads deep nesting or stops with a stack overflow; it never crashes.
TEST(Stress_Parse, DeepNestingParsesOrFailsCleanly)
{
    Grammar g = EdgeGrammar();
    const std::string file = TempFile(Repeat("(nest ", 200000) + Repeat(")", 200000) + "\n");
    RecordingParser recursive(g.get(), 4, 400010);
    if (recursive.Parse(file.c_str(), 0) != 0) {
        EXPECT_EQ(zelERR_STACK_OVERFLOW, recursive.GetErrno());
    }
}

TEST(Stress_Tree, WideAndDeepTreesReleaseWithoutRecursion)
{
    Grammar netlist = NetlistGrammar();
    Grammar edge = EdgeGrammar();
    const std::string wide = TempFile("(design top " + Repeat("(cell c)\n", 1000000) + ")\n");
    const std::string deep = TempFile(Repeat("(nest ", 300000) + Repeat(")", 300000) + "\n");
    for (int way = 0; way < 3; ++way) {
        for (const auto& input : {std::make_pair(&netlist, wide), std::make_pair(&edge, deep)}) {
            CZelParser p(input.first->get(), 4, 8000000);
            ASSERT_EQ(0, p.Parse(input.second.c_str(), 1));
            const CZelOid* root = p.GetGoalAt(0);
            if (way == 0 && input.first == &netlist) {
                CStringList list;
                EXPECT_EQ(0, p.WriteList(root, 0, &list));
                EXPECT_EQ(3000003, list.GetCount());
                EXPECT_EQ(0, p.WriteFile("/dev/null", root, 0, nullptr));
            }
            if (way == 0)
                root->RemObject();
            else if (way == 1)
                root->RemoveObjects();
            else
                p.DeleteObject(root, 0);
            EXPECT_EQ(way == 2 ? 0 : 1, p.GetGoalCount());
        }  // the destructor deletes what is left, without recursion
    }
}

TEST(Stress_Output, LineWrappingIsPerThread)
{
    // Each thread writes its own tree of strings long enough to wrap; the column counter
    // of one thread must never move the line breaks of the other.
    Grammar g = NetlistGrammar();
    std::string texts[2];
    std::unique_ptr<CZelParser> parsers[2];
    for (int k = 0; k < 2; ++k) {
        std::string library = "(library";
        for (int i = 0; i < 40; ++i)
            library += " \"" + std::string(static_cast<size_t>(5 + (i + 4 * k) % 9), 'w') + "\"";
        parsers[k].reset(new CZelParser(g.get()));
        ASSERT_EQ(0, ParseLine(*parsers[k], library + ")"));
        texts[k] = StreamText(*parsers[k], parsers[k]->GetGoalAt(0));
    }
    auto writeMany = [&](int k, bool* same) {
        for (int round = 0; round < 300; ++round)
            *same = *same && StreamText(*parsers[k], parsers[k]->GetGoalAt(0)) == texts[k];
    };
    bool same[2] = {true, true};
    std::thread a(writeMany, 0, &same[0]), b(writeMany, 1, &same[1]);
    a.join();
    b.join();
    EXPECT_TRUE(same[0] && same[1]);
}

TEST(Stress_Lex, HugeTokensAndLineListStrings)
{
    Grammar g = NetlistGrammar();
    const std::string big(100000, 'x');
    CZelParser p(g.get());
    CStringList lines;
    lines.AddTail(("(design " + big + " (cell a (net n \"" + big + "\")))").c_str());
    lines.AddTail(("(design top " + Repeat("(cell c) ", 100000) + ")").c_str());  // about 1 MB
    lines.AddTail((Repeat("(", 200000) + "design x" + Repeat(")", 200000)).c_str());  // one opener run
    EXPECT_NE(0, p.Parse(&lines));  // the opener run is no valid form, but reads safely
    ASSERT_EQ(2, p.GetGoalCount());
    EXPECT_EQ(big, p.GetGoalAt(0)->GetFirstObj()->GetIdent());
    EXPECT_EQ(big, p.GetGoalAt(0)->FindObj(NK_CELL)->FindObj(NK_NET)->GetFirstObj()->GetNextObj()->GetStrval());
}

TEST(Stress_Lifecycle, RepeatedParseAndFullInitKeepMemoryFlat)
{
    Grammar g = NetlistGrammar();
    const std::string file = TempFile("(design top " + Repeat("(cell c (port p INPUT 4)) ", 2000) + ")\n");
    CZelParser p(g.get());
    size_t afterFirst = 0;
    for (int round = 0; round < 100; ++round) {
        ASSERT_EQ(0, p.Parse(file.c_str(), round % 2));
        p.GetGoalAt(0)->FindObj(NK_CELL)->RemObject();
        p.FullInit();
        EXPECT_EQ(0, zel::ParserAccess::Of(p).store.ReleasedCount());
        EXPECT_EQ(0, p.GetGoalCount());
        if (round == 0)
            afterFirst = mallinfo2().uordblks;
    }
    EXPECT_LE(mallinfo2().uordblks, afterFirst + 64 * 1024);
}
