// The zel command-line tool, run as a program: exit codes, output and messages.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

const std::string kNetlist = std::string(ZEL_EXAMPLES_DIR) + "/netlist/";

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Runs the tool with the arguments (written for the shell) and collects both streams.
Outcome Zel(const std::string& args)
{
    const std::string out = TempFile(""), err = TempFile("");
    const int raw = std::system((std::string("'") + ZEL_TOOL + "' " + args + " >" + out + " 2>" + err).c_str());
    Outcome r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
    std::remove(out.c_str());
    std::remove(err.c_str());
    return r;
}

const std::string kGrammar = "-g " + kNetlist + "netlist.zelg ";
const std::string kCheck = "check " + kGrammar;

// The canonical text of a one-goal file as the library writes it, and a line break.
std::string Canonical(const std::string& file)
{
    CZelGrammar g;
    g.CompileFile((kNetlist + "netlist.zelg").c_str());
    CZelParser p(g.GetDescriptor());
    p.Parse(file.c_str(), "r", -1L, 0);
    const std::string out = TempFile("");
    p.WriteFile(out.c_str(), p.GetGoalAt(0), 0, nullptr);
    p.Close();
    const std::string text = ReadFile(out) + "\n";
    std::remove(out.c_str());
    return text;
}

}  // namespace

TEST(Tools_Check, GoodFilePassesSilentlyBadFileListsItsMessages)
{
    for (const char* engine : {"", "--engine iterative "}) {
        const Outcome good = Zel(kCheck + engine + kNetlist + "good.net");
        EXPECT_EQ(0, good.status);
        EXPECT_EQ("", good.out + good.err);
    }
    const Outcome bad = Zel(kCheck + kNetlist + "bad.net");
    EXPECT_EQ(1, bad.status);
    EXPECT_EQ(0u, bad.err.find(kNetlist + "bad.net:3: error: Expecting: FORM int (Token=\")\").\n")) << bad.err;
    const std::regex line("[^\n]*bad\\.net:[0-9]+: (error|warning|note): [^\n]+");
    std::istringstream lines(bad.err);
    for (std::string text; std::getline(lines, text);)
        EXPECT_TRUE(std::regex_match(text, line)) << text;
    // A failure the library counts without a report still gets a message.
    const std::string empty = TempFile("; nothing but a comment\n");
    const Outcome none = Zel(kCheck + empty);
    EXPECT_EQ(1, none.status);
    EXPECT_EQ(empty + ":1: error: the file holds no form\n", none.err);
    std::remove(empty.c_str());
}

TEST(Tools_Fmt, WritesTheCanonicalTextToStdoutOrInPlace)
{
    const std::string expected = Canonical(kNetlist + "good.net");
    const Outcome out = Zel("fmt " + kGrammar + kNetlist + "good.net");
    EXPECT_EQ(0, out.status);
    EXPECT_EQ(expected, out.out);
    const std::string copy = TempFile(ReadFile(kNetlist + "good.net"));
    EXPECT_EQ(0, Zel("fmt -i " + kGrammar + copy).status);
    EXPECT_EQ(expected, ReadFile(copy));
    EXPECT_EQ(0, Zel("fmt -i " + kGrammar + copy).status);
    EXPECT_EQ(expected, ReadFile(copy));  // the canonical text is its own canonical text
    std::remove(copy.c_str());
    // A file with errors is left as it is.
    const std::string bad = TempFile(ReadFile(kNetlist + "bad.net"));
    EXPECT_EQ(1, Zel("fmt -i " + kGrammar + bad).status);
    EXPECT_EQ(ReadFile(kNetlist + "bad.net"), ReadFile(bad));
    std::remove(bad.c_str());
}

TEST(Tools_Tree, ShowsNodesAndTheObjectTable)
{
    const Outcome tree = Zel("tree " + kGrammar + kNetlist + "good.net");
    EXPECT_EQ(0, tree.status);
    EXPECT_EQ(0u, tree.out.find("design  FORM\n  ident  IDENT  arith4\n  version  FORM\n    int  INTTOK  2\n")) << tree.out;
    EXPECT_NE(std::string::npos, tree.out.find("\n      INOUT  LIT\n      width  INTTOK  4\n"));
    const Outcome objects = Zel("tree --objects " + kGrammar + kNetlist + "good.net");
    EXPECT_EQ(0, objects.status);
    EXPECT_EQ(0u, objects.out.find(tree.out)) << objects.out.substr(0, 200);
    EXPECT_EQ(tree.out.size(), objects.out.find("Indx Object "));
}

TEST(Tools_Gen, WritesTheEnumerationAndTheDescriptor)
{
    const Outcome gen = Zel("gen " + kNetlist + "netlist.zelg");
    EXPECT_EQ(0, gen.status);
    for (const char* text : {"enum netlist_keyword {", "    netlist_KW_cell = 10,\n", "    netlist_KW_INOUT = ",
                             "zelKeywordS netlist_keywords[] = {", "zelParserS netlist_grammar = {netlist_semantics, "})
        EXPECT_NE(std::string::npos, gen.out.find(text)) << text;
    EXPECT_NE(std::string::npos, Zel("gen --prefix my " + kNetlist + "netlist.zelg").out.find("zelParserS my_grammar ="));
}

TEST(Tools_Zel, HelpAndUsageErrors)
{
    for (const char* command : {"", "check ", "fmt ", "tree ", "gen "}) {
        const Outcome help = Zel(std::string(command) + "--help");
        EXPECT_EQ(0, help.status) << command;
        EXPECT_EQ(0u, help.out.find("usage: zel " + std::string(command))) << help.out;
    }
    const std::string good = kNetlist + "good.net";
    const std::string badGrammar = TempFile("goal design\nform design = ident wire ;\n");
    const struct {
        std::string args;
        std::string message;
    } cases[] = {
        {"", "usage: zel <command>"},
        {"frob", "zel: unknown command \"frob\""},
        {"check --frob " + kGrammar + good, "zel check: unknown option \"--frob\""},
        {"fmt --objects " + kGrammar + good, "zel fmt: unknown option \"--objects\""},
        {"check --engine fast " + kGrammar + good, "--engine takes recursive or iterative"},
        {"check " + good, "zel: no grammar given (-g GRAMMAR)"},
        {"fmt " + kGrammar, "zel fmt: wrong number of files"},
        {"check -g /no/such.zelg " + good, "/no/such.zelg: cannot read grammar file \"/no/such.zelg\""},
        {kCheck + "/no/such.net", "zel: cannot read \"/no/such.net\""},
        {kCheck + kNetlist, "zel: cannot read \"" + kNetlist + "\""},
        {"check -g " + badGrammar + " " + good, badGrammar + ": line 2: unknown keyword \"wire\""},
        {"gen " + badGrammar, badGrammar + ": line 2: unknown keyword \"wire\""},
    };
    for (const auto& c : cases) {
        const Outcome r = Zel(c.args);
        EXPECT_EQ(2, r.status) << c.args;
        EXPECT_NE(std::string::npos, r.err.find(c.message)) << c.args << "\n" << r.err;
        EXPECT_EQ("", r.out) << c.args;
    }
    std::remove(badGrammar.c_str());
}
