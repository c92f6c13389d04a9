// Node dumps, run statistics and the dump of every goal to a file.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

int ParseText(CZelParser& p, const std::string& text)
{
    const std::string file = TempFile(text);
    const int errors = p.Parse(file.c_str(), 0);
    std::remove(file.c_str());
    return errors;
}

// Addresses change from run to run: every "%p" text becomes "P".
std::string Masked(const std::string& text)
{
    return std::regex_replace(text, std::regex("0x[0-9a-f]+|\\(nil\\)"), "P");
}

const char* const kHeader = "Indx Object   KwType        Sem  Keyword         Flags Plink    Clink    Nlink    Data\n";

}  // namespace

TEST(Output_Dump, PrintWritesOneRowPerNode)
{
    Grammar g = NetlistGrammar();
    const std::string name(255, 'k');
    std::snprintf(g.keywords[NK_LIBRARY].name, sizeof g.keywords[NK_LIBRARY].name, "%s", name.c_str());
    CZelParser p(g.get());
    ASSERT_EQ(0, ParseText(p, "(design top (cell c (port p input 4) (net n \"s\" 0.1)) (cell d))(" + name + ")"));
    const CZelOid* cell = p.GetGoalAt(0)->FindObj(NK_CELL);
    const CZelOid* net = cell->FindObj(NK_NET);
    const CZelOid* freed = cell->GetNextObj();
    ASSERT_EQ(1, p.RemObject(freed));
    p.StoreSymbol(cell->GetFirstObj(), "x");
    cell->SetFlags(3);

    testing::internal::CaptureStdout();
    p.GetGoalAt(0)->Print(1, 0);
    cell->Print(0, 1);
    cell->FindObj(NK_PORT)->FindObj(NK_WIDTH)->Print(0, 2);
    net->FindObj(NK_STRING)->Print(0, 3);
    net->FindObj(NK_REAL)->Print(0, 4);
    p.GetGoalAt(1)->Print(0, 5);
    freed->Print(0, 6);
    freed->Print(1, 7);
    EXPECT_EQ(std::string(kHeader) +
                  "   0 P zelKW_FORM       1 design              0 P P P \n"
                  "   1 P zelKW_FORM       5 cell                3 P P P P\n"
                  "   2 P zelKW_INTTOK    18 width               0 P P P 4\n"
                  "   3 P zelKW_STRTOK    24 string              0 P P P \"s\"\n"
                  "   4 P zelKW_REALTOK   25 real                0 P P P 0.100000\n"
                  "   5 P zelKW_FORM       2 " + name + "     0 P P P \n"
                  "6 (not in use)\n" + kHeader + "7 (not in use)\n",
              Masked(testing::internal::GetCapturedStdout()));
}

TEST(Output_Dump, PrintObjWritesALabelledBlock)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    ASSERT_EQ(0, ParseText(p, "(design top (cell c (net n 2.5) (net m)))"));
    const CZelOid* cell = p.GetGoalAt(0)->FindObj(NK_CELL);
    const CZelOid* net = cell->FindObj(NK_NET);
    p.SetSymbolHashing(1);
    p.StoreSymbol(cell->GetFirstObj(), "x");
    const CZelOid* freed = net->GetNextObj();
    ASSERT_EQ(1, p.RemObject(freed));

    testing::internal::CaptureStdout();
    p.PrintObj(nullptr);
    p.PrintObj(cell);
    p.PrintObj(net->FindObj(NK_REAL));
    p.PrintObj(freed);
    EXPECT_EQ("\nObject: \n  Keyword : 10 cell\n  KW Type : 1 zelKW_FORM\n  Sem Id  : 5\n"
              "  Sem Type: 224 S_DUMMY | S_OPTG | S_REPG | S_GRPHEAD\n  Flags   : 0\n  Clink   : ident\n"
              "  Nlink   : (nil)\n  Dlink   : symbol map of 1 entries\n"
              "\nObject: \n  Keyword : 4 real\n  KW Type : 5 zelKW_REALTOK\n  Sem Id  : 25\n"
              "  Sem Type: 224 S_DUMMY | S_OPTG | S_REPG | S_GRPHEAD\n  Flags   : 0\n  Clink   : (nil)\n"
              "  Nlink   : (nil)\n  Dlink   : 2.500000\n"
              "\nObject: (not in use)\n",
              testing::internal::GetCapturedStdout());
}

TEST(Output_Dump, PrintStatsThroughWriteMsg)
{
    Grammar g = NetlistGrammar();
    RecordingParser p(g.get());
    p.SetStatistics(1);
    ASSERT_EQ(0, ParseText(p, "(design top\n (cell abc))\n"));
    p.PrintStats();
    EXPECT_EQ(std::regex_replace(p.output, std::regex("level  : [1-9][0-9]*"), "level  : N"),
              "Total number of lines : 3\nTotal number of tokens: 8\nMax recusrsion level  : N\n"
              "Allocated page size   : 4095\nObject table size     : 8\nSymbol table size     : 0\n");
    p.output.clear();
    p.FullInit();
    p.PrintStats();
    EXPECT_EQ("Total number of lines : 0\nTotal number of tokens: 0\nMax recusrsion level  : 0\n"
              "Allocated page size   : 4095\nObject table size     : 0\nSymbol table size     : 0\n",
              p.output);
}

TEST(Output_Dump, DumpFileWritesEveryGoal)
{
    Grammar g = NetlistGrammar();
    RecordingParser p(g.get());
    ASSERT_EQ(0, ParseText(p, "(design a)\n(design b (cell c))\n"));
    const std::string out = TempFile("");
    CStringList header;
    header.AddTail("dump\n");
    p.DumpFile(out.c_str(), 0, &header);
    EXPECT_EQ(0, p.GetErrno());
    EXPECT_EQ(";; dump\n\n(design  a)\n(design  b\n (cell  c))\n", ReadFile(out));
    std::remove(out.c_str());

    // The dump leaves the trace level at 1: storing a symbol now prints a trace line.
    testing::internal::CaptureStdout();
    p.StoreSymbol(p.GetGoalAt(0)->GetFirstObj(), "y");
    EXPECT_EQ("\nHashing symbol: y", testing::internal::GetCapturedStdout());

    p.SetOfname("");
    p.DumpFile(nullptr, 0, nullptr);
    EXPECT_EQ(5, p.GetErrno());
    p.DumpFile("/nonexistent-dir/d.zel", 0, nullptr);
    EXPECT_EQ(5, p.GetErrno());
    EXPECT_EQ("Error: no output file name specified.\nError opening file: /nonexistent-dir/d.zel\n", p.output);
}
