// The zel command-line tool, run as a program: exit codes, output and messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

#include "support/test_grammars.h"

using namespace zeltest;

static const std::string kNetlist = std::string(ZEL_EXAMPLES_DIR) + "/netlist/";
static const std::string kGrammar = "-g " + kNetlist + "netlist.zelg ";
static const std::string kGood = kNetlist + "good.net", kBad = kNetlist + "bad.net";

// Runs the tool with the arguments (written for the shell): "<exit status>|<stdout>|<stderr>".
static std::string Zel(const std::string& args)
{
    const std::string out = TempFile(""), err = TempFile("");
    const int raw = std::system((std::string("'") + ZEL_TOOL + "' " + args + " >" + out + " 2>" + err).c_str());
    const std::string r = std::to_string(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1) + "|" + ReadFile(out) + "|" + ReadFile(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return r;
}

TEST(Tools_Check, GoodFilePassesSilentlyBadFileListsItsMessages)
{
    for (const char* engine : {"", "--engine iterative "})
        EXPECT_EQ("0||", Zel("check " + kGrammar + engine + kGood)) << engine;
    // One line per report: file, line, severity and the text without its line breaks.
    const std::string bad = Zel("check " + kGrammar + kBad);
    EXPECT_EQ(0u, bad.find("1||" + kBad + ":3: error: Expecting: FORM int (Token=\")\").\n")) << bad;
    EXPECT_NE(std::string::npos, bad.find("\n" + kBad + ":10: note: Skipping rest of form: cell.\n" + kBad + ":10: ")) << bad;
    EXPECT_EQ(7, std::count(bad.begin(), bad.end(), '\n')) << bad;
    // A failure the library counts without a report still gets a message.
    const std::string empty = TempFile("; nothing but a comment\n");
    EXPECT_EQ("1||" + empty + ":1: error: the file holds no form\n", Zel("check " + kGrammar + empty));
    std::remove(empty.c_str());
}

// The text is the library's own writer output and a line break; a file with errors is kept.
TEST(Tools_Fmt, WritesTheCanonicalTextToStdoutOrInPlace)
{
    CZelGrammar grammar;
    ASSERT_EQ(0, grammar.CompileFile((kNetlist + "netlist.zelg").c_str()));
    CZelParser p(grammar.GetDescriptor());
    const std::string canonical = TempFile(""), copy = TempFile(ReadFile(kGood)), bad = TempFile(ReadFile(kBad));
    ASSERT_EQ(0, p.Parse(kGood.c_str(), "r", -1L, 0));
    ASSERT_EQ(0, p.WriteFile(canonical.c_str(), "w"));
    const std::string expected = ReadFile(canonical) + "\n";
    EXPECT_EQ("0||", Zel("fmt -i " + kGrammar + copy));
    EXPECT_EQ(expected, ReadFile(copy));
    EXPECT_EQ("0|" + expected + "|", Zel("fmt " + kGrammar + copy));  // canonical text stays as it is
    EXPECT_EQ('1', Zel("fmt -i " + kGrammar + bad)[0]);
    EXPECT_EQ(ReadFile(kBad), ReadFile(bad));
    for (const std::string& file : {canonical, copy, bad})
        std::remove(file.c_str());
}

TEST(Tools_Tree, ShowsNodesAndTheObjectTable)
{
    const std::string tree = Zel("tree " + kGrammar + kGood), objects = Zel("tree --objects " + kGrammar + kGood);
    EXPECT_EQ(0u, tree.find("0|design  FORM\n  ident  IDENT  arith4\n  version  FORM\n    int  INTTOK  2\n")) << tree;
    EXPECT_NE(std::string::npos, tree.find("\n      INOUT  LIT\n      width  INTTOK  4\n"));
    EXPECT_EQ(0u, objects.find(tree.substr(0, tree.size() - 1) + "Indx Object ")) << objects.substr(0, 300);
}

// The names take the grammar file's name unless a prefix is given.
TEST(Tools_Gen, PrefixesTheEnumerationAndTheDescriptor)
{
    EXPECT_NE(std::string::npos, Zel("gen " + kNetlist + "netlist.zelg").find("\n    netlist_KW_cell = 10,\n"));
    EXPECT_NE(std::string::npos, Zel("gen --prefix my " + kNetlist + "netlist.zelg").find("zelParserS my_grammar = {my_"));
}

// Help goes to stdout with exit status 0; a usage error to stderr with exit status 2.
TEST(Tools_Zel, HelpAndUsageErrors)
{
    for (const std::string command : {"", "check ", "fmt ", "tree ", "gen "})
        EXPECT_EQ(0u, Zel(command + "--help").find("0|usage: zel " + command)) << command;
    const std::string badGrammar = TempFile("goal design\nform design = ident wire ;\n");
    const std::pair<std::string, std::string> cases[] = {
        {"", "usage: zel <command>"},
        {"frob", "zel: unknown command \"frob\""},
        {"fmt --objects " + kGrammar + kGood, "zel fmt: unknown option \"--objects\""},
        {"check --engine fast " + kGrammar + kGood, "--engine takes recursive or iterative"},
        {"check " + kGood, "zel: no grammar given (-g GRAMMAR)"},
        {"fmt " + kGrammar, "zel fmt: wrong number of files"},
        {"check -g /no/such.zelg " + kGood, "/no/such.zelg: cannot read grammar file \"/no/such.zelg\""},
        {"check " + kGrammar + kNetlist, "zel: cannot read \"" + kNetlist + "\""},
        {"check -g " + badGrammar + " " + kGood, badGrammar + ": line 2: unknown keyword \"wire\""},
        {"gen " + badGrammar, badGrammar + ": line 2: unknown keyword \"wire\""},
    };
    for (const auto& [args, message] : cases) {
        const std::string r = Zel(args);
        EXPECT_TRUE(r.rfind("2||", 0) == 0 && r.find(message) != std::string::npos) << args << "\n" << r;
    }
    std::remove(badGrammar.c_str());
}
