// Node dumps, run statistics and the dump of every goal to a file.
#include <gtest/gtest.h>

#include <regex>

#include "support/test_grammars.h"

using namespace zeltest;

// One table row per node (the longest keyword name overflows nothing) and one labelled block
// per node; a free node shows as not in use.
TEST(Output_Dump, NodePrintersShowEveryField)
{
    Grammar g = NetlistGrammar();
    const std::string name(255, 'k');
    std::snprintf(g.keywords[NK_LIBRARY].name, sizeof g.keywords[NK_LIBRARY].name, "%s", name.c_str());
    CZelParser p(g.get());
    ASSERT_EQ(0, ParseLine(p, "(design top (cell c (port p input 4) (net n \"s\" 0.1)) (cell d))(" + name + ")"));
    const CZelOid *cell = p.GetGoalAt(0)->FindObj(NK_CELL), *freed = cell->GetNextObj();
    ASSERT_EQ(1, p.RemObject(freed));
    p.StoreSymbol(cell->GetFirstObj(), "x");
    cell->SetFlags(3);
    const CZelOid* nodes[] = {cell, cell->FindObj(NK_PORT)->FindObj(NK_WIDTH), cell->FindObj(NK_NET)->FindObj(NK_STRING),
                              cell->FindObj(NK_NET)->FindObj(NK_REAL), p.GetGoalAt(1), freed};
    testing::internal::CaptureStdout();
    for (int i = 0; i < 6; ++i)
        nodes[i]->Print(i == 0, i);
    for (const CZelOid* node : {static_cast<const CZelOid*>(nullptr), cell, freed})
        p.PrintObj(node);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(std::string::npos, out.find("   4 0x")) << out;
    EXPECT_NE(std::string::npos, out.find(" zelKW_FORM       2 " + name + "     0 ")) << out;
    EXPECT_NE(std::string::npos, out.find("5 (not in use)\n")) << out;
    EXPECT_NE(std::string::npos, out.find("  Dlink   : symbol map of 1 entries\n\nObject: (not in use)\n")) << out;
}

// Dump failures are told through WriteMsg with error state 5; so are the statistics.
TEST(Output_Dump, DumpFileAndStatistics)
{
    Grammar g = NetlistGrammar();
    RecordingParser p(g.get());
    p.SetStatistics(1);
    const std::string in = TempFile("(design a)\n(design b (cell cc))\n"), out = TempFile("");
    ASSERT_EQ(0, p.Parse(in.c_str(), "r", -1L, 0));  // read only: no output file name
    for (const char* name : {static_cast<const char*>(nullptr), "/nonexistent-dir/d.zel"}) {
        p.DumpFile(name, 0, nullptr);
        EXPECT_EQ(5, p.GetErrno());
    }
    CStringList header;
    header.AddTail("dump\n");
    p.DumpFile(out.c_str(), 0, &header);
    EXPECT_EQ(0, p.GetErrno());
    EXPECT_EQ(";; dump\n\n(design  a)\n(design  b\n (cell  cc))\n", ReadFile(out));
    p.PrintStats();
    EXPECT_EQ("Error: no output file name specified.\nError opening file: /nonexistent-dir/d.zel\n"
              "Total number of lines : 3\nTotal number of tokens: 12\nMax recusrsion level  : N\n"
              "Allocated page size   : 4095\nObject table size     : 7\nSymbol table size     : 0\n",
              std::regex_replace(p.output, std::regex("level  : [1-9][0-9]*"), "level  : N"));
}
