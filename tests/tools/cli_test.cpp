// The zel command-line tool, run as a program: exit codes, output and messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <sys/stat.h>
#include <unistd.h>

#include "grammar/setting_names.h"
#include "run_tool.h"
#include "zel/version.h"

using namespace zeltest;

// The tool's output without the columns of its reports, nor their source lines and carets:
// what every test but those of the places pins.
static std::string Heads(const std::string& output)
{
    const std::regex excerpt(R"([^\n]*\n[\t ]*\^\n)"), column(R"((:\d+):\d+(: (error|warning|note): ))");
    return std::regex_replace(std::regex_replace(output, excerpt, ""), column, "$1$2");
}

// A good file passes silently; a bad one gets one line per report (file, line, severity, text
// without line breaks). A failure counted without a report still gets a message.
TEST(Tools_Check, GoodFilePassesSilentlyBadFileListsItsMessages)
{
    EXPECT_EQ("0||", Zel("check --engine iterative " + kGrammar + kGood));
    const std::string bad = Heads(Zel("check " + kGrammar + kBad)), empty = TempFile("; nothing but a comment\n");
    EXPECT_EQ(0u, bad.find("1||" + kBad + ":3: error: Expecting: FORM int (Token=\")\").\n")) << bad;
    // Each of the file's three mistakes is reported, each once.
    EXPECT_NE(std::string::npos, bad.find("\n" + kBad + ":6: error: Expecting: FORM direction (Token=\")\").\n" + kBad +
                                          ":10: error: Expecting end of form \")\" (Token=\"mux2\").\n")) << bad;
    EXPECT_EQ(4, std::count(bad.begin(), bad.end(), '\n')) << bad;
    EXPECT_EQ("1||" + empty + ":1: error: the file holds no form\n", Zel("check " + kGrammar + empty));
}

// The text is the canonical writer text (heads on lines of their own, two spaces before each
// value, literals in capitals) and a line break, the same in place: through a link, into the
// file behind it by a new file of its own (a file or link planted beside the target is left
// alone). A file with errors, or whose values the parse changed (a clamped integer), is kept,
// and the tool says why.
TEST(Tools_Fmt, WritesTheCanonicalTextToStdoutOrInPlace)
{
    const std::string canonical = Zel("fmt " + kGrammar + kGood), copy = TempFile(ReadFile(kGood)), bad = TempFile(ReadFile(kBad));
    EXPECT_EQ(0u, canonical.find("0|\n;; A small arithmetic block")) << canonical;
    EXPECT_NE(std::string::npos, canonical.find(" capitals.\n(design  arith4\n (version  2  1  0)\n (cell  half_adder\n  (port  a  INPUT)\n"));
    EXPECT_EQ(canonical.size() - 6, canonical.rfind("T)))\n|")) << canonical;
    const std::string victim = TempFile("victim\n"), link = copy + ".link";
    ASSERT_EQ(0, symlink(victim.c_str(), (copy + ".zel-fmt").c_str()));
    ASSERT_EQ(0, symlink(copy.c_str(), link.c_str()));
    EXPECT_EQ("0||", Zel("fmt -i " + kGrammar + link));
    EXPECT_EQ(canonical, "0|" + ReadFile(copy) + "|");
    EXPECT_EQ("victim\n", ReadFile(victim));
    EXPECT_EQ('1', Zel("fmt -i " + kGrammar + bad)[0]);
    EXPECT_EQ(ReadFile(kBad), ReadFile(bad));
    const std::string text = "(design d (version 99999999999 1 0))\n", changed = TempFile(text);
    const std::string result = Heads(Zel("fmt -i " + kGrammar + changed));
    EXPECT_EQ(0u, result.find("1||" + changed + ":1: warning: Integer \"99999999999\" is out of range")) << result;
    EXPECT_NE(std::string::npos, result.find("zel fmt: \"" + changed + "\" is left as it is: 1 value(s) would be written back changed\n"));
    EXPECT_EQ(text, ReadFile(changed));
    for (const std::string& file : {link, copy + ".zel-fmt"})
        std::remove(file.c_str());
}

// fmt keeps the comments, also in place; --strip-comments leaves them out of the text and,
// in place, leaves a file with comments alone. Every sample's comments survive, and the
// text is fmt's own fixed point.
TEST(Tools_Fmt, KeepsCommentsUnlessToldToStripThem)
{
    const std::string text = "; head\r\n(design d ; name\r\n (cell c)\r\n ; last\r\n)\r\n",
                      kept = "\n;; head\n(design  d ;; name\n (cell  c)\n ;; last\n)\n";
    const std::string file = TempFile(text);
    EXPECT_EQ("0|" + kept + "|", Zel("fmt " + kGrammar + file));
    EXPECT_EQ("0|\n(design  d\n (cell  c))\n|", Zel("fmt --strip-comments " + kGrammar + file));
    EXPECT_EQ("1||zel fmt: \"" + file + "\" is left as it is: --strip-comments would drop its 3 comment(s)\n",
              Zel("fmt -i --strip-comments " + kGrammar + file));
    EXPECT_EQ(text, ReadFile(file));
    EXPECT_EQ("0||", Zel("fmt -i " + kGrammar + file));
    EXPECT_EQ(kept, ReadFile(file));
    const std::string plain = TempFile("(design d)");
    EXPECT_EQ("0||", Zel("fmt -i --strip-comments " + kGrammar + plain));
    EXPECT_EQ("\n(design  d)\n", ReadFile(plain));
    for (const char* sample : {"drawing/good.draw", "footprint/good.fp", "netlist/good.net", "schematic/good.sch"}) {
        const std::string name = std::string(ZEL_EXAMPLES_DIR) + "/" + sample, folder = name.substr(0, name.rfind('/'));
        const std::string grammar = "-g " + folder + folder.substr(folder.rfind('/')) + ".zelg ";
        const std::string once = Zel("fmt " + grammar + name), copy = TempFile(once.substr(2, once.size() - 3));
        EXPECT_EQ(0u, once.find("0|")) << sample;
        EXPECT_EQ(once, Zel("fmt " + grammar + copy)) << sample;
        auto comments = [](const std::string& t) {
            std::vector<std::string> lines;
            for (size_t at = t.find_first_of(";#"); at != std::string::npos; at = t.find_first_of(";#", t.find('\n', at))) {
                const size_t start = t.find_first_not_of(";# ", at), end = t.find_first_of("\r\n", at);
                lines.push_back(t.substr(start, end - start));
            }
            std::sort(lines.begin(), lines.end());
            return lines;
        };
        EXPECT_EQ(comments(ReadFile(name)), comments(once)) << sample;
    }
}

// The tree shows each node's keyword, type and value; --objects adds the object table. The
// generated C++ names take the grammar file's name unless a prefix is given.
TEST(Tools_Output, TreeShowsNodesGenPrefixesNames)
{
    const std::string tree = Zel("tree " + kGrammar + kGood), objects = Zel("tree --objects " + kGrammar + kGood);
    EXPECT_EQ(0u, tree.find("0|design  FORM\n  ident  IDENT  arith4\n  version  FORM\n    int  INTTOK  2\n")) << tree;
    EXPECT_NE(std::string::npos, tree.find("\n      INOUT  LIT\n      width  INTTOK  4\n"));
    EXPECT_EQ(0u, objects.find(tree.substr(0, tree.size() - 1) + "Indx Object ")) << objects.substr(0, 300);
    EXPECT_NE(std::string::npos, Zel("gen " + kNetlist + "netlist.zelg").find("\n    netlist_KW_cell = 10,\n"));
    EXPECT_NE(std::string::npos, Zel("gen --prefix my " + kNetlist + "netlist.zelg").find("zelParserS my_grammar = {my_"));
}

// Help goes to stdout with exit status 0; a usage error to stderr with exit status 2.
TEST(Tools_Zel, HelpAndUsageErrors)
{
    EXPECT_EQ(0u, Zel("fmt --help").find("0|usage: zel fmt "));
    const std::pair<std::string, std::string> cases[] = {
        {"frob", "zel: unknown command \"frob\""}, {"fmt --objects " + kGrammar + kGood, "zel fmt: unknown option \"--objects\""},
        {"check " + kGood, "zel: no grammar given (-g GRAMMAR)"}, {"fmt " + kGrammar, "zel fmt: wrong number of files"},
        {"check " + kGrammar + kNetlist, "zel: cannot read \"" + kNetlist + "\""}, {"gen " + kBad, kBad + ":1: error: expected"},
        {"check --color=sometimes " + kGrammar + kBad, "zel check: --color takes auto, always or never, not \"sometimes\" (see \"zel check --help\")\n"},
        {"check --plain=1 " + kGrammar + kBad, "zel check: option --plain takes no value (see \"zel check --help\")\n"},
        {"tree --objects --format json " + kGrammar + kGood, "zel tree: --objects writes a table of text; it does not go with --format json\n"},
    };
    for (const auto& [args, message] : cases)
        EXPECT_EQ("2||" + message, Zel(args).substr(0, 3 + message.size())) << args;
}

// A grammar's warnings go to stderr as the file's diagnostics, and the command goes on.
TEST(Tools_Zel, GrammarWarningsArePrintedAndTheCommandGoesOn)
{
    const std::string grammar = TempFile("goal a\nform a = int* int? ;\n", ".zelg"), file = TempFile("(a 1 2)\n");
    EXPECT_EQ("0|\n(a  1  2)\n|" + grammar + ":2: warning: \"int\" is never reached: the repeated \"int\" before it "
              "takes every token it can start with\n", Zel("fmt -g " + grammar + " " + file));
}

// Every input is opened once: standard input ("-") and a FIFO are read, not consumed by a
// probe first (the parse used to block forever on the FIFO's second open).
TEST(Tools_Input, StandardInputAndFifoAreReadOnce)
{
    const std::string canonical = Zel("fmt " + kGrammar + kGood);
    EXPECT_EQ(canonical, Zel("fmt " + kGrammar + "- <" + kGood));
    EXPECT_EQ(Zel("tree " + kGrammar + kGood), Zel("tree " + kGrammar + "- <" + kGood));
    EXPECT_EQ("1||<stdin>:1: error: the file holds no form\n", Zel("check " + kGrammar + "- </dev/null"));
    const std::string fifo = TempFile("");
    std::remove(fifo.c_str());
    ASSERT_EQ(0, std::system(("mkfifo " + fifo).c_str()));
    ASSERT_EQ(0, std::system(("cat " + kGood + " >" + fifo + " &").c_str()));  // blocks until the tool opens it
    EXPECT_EQ(canonical, Zel("fmt " + kGrammar + fifo));
    EXPECT_EQ("2||zel fmt: -i needs a file, not standard input\n", Zel("fmt -i " + kGrammar + "- <" + kGood));
}

// The lexical settings come from the grammar unless an option overrides them, both ways:
// the grammar's extended rules, escape and keep-keyword-case apply, and --plain, --escape
// none and --lexical-options none undo them; --extended, --escape C and --lexical-options
// bring them to a grammar without them. A good file gives no message.
TEST(Tools_Settings, GrammarSettingsAndTheirOverrides)
{
    const std::string rules = "goal f\nform f = (ident | string)* ;\n", flag = "goal f\nform f = ident ON? ;\n";
    const std::string stated = TempFile(rules + "rules extended ;\nescape \"\\\" ;\n", ".zelg"), bare = TempFile(rules, ".zelg");
    const std::string keeping = TempFile(flag + "option keep-keyword-case ;\n", ".zelg"), flagged = TempFile(flag, ".zelg");
    const std::string input = " " + TempFile("(f x- \"a\\\" b\")\n"), cased = " " + TempFile("(F x on)\n");
    const std::string canonical = "0|\n(f  x-  \"a\\\" b\")\n|";
    const std::pair<std::string, std::string> cases[] = {
        {"-g " + stated + input, canonical},
        {"-g " + stated + " --escape none" + input, "0|\n(f  x-  \"a\\\"  b\")\n|"},
        {"-g " + stated + " --plain" + input, "1||" + input.substr(1) + ":1: error: Unrecognized form \"x-\".\n"},
        {"-g " + bare + " --extended --escape '\\' --lexical-options none" + input, canonical},
        {"-g " + bare + " --lexical-options escape-escapes,fast" + input,
         "2||zel fmt: --lexical-options takes none or names from quote-opens-string,escape-escapes,keep-keyword-case, not \"escape-escapes,fast\""},
        {"-g " + bare + " --escape ab" + input, "2||zel fmt: --escape takes one character or none"},
        {"-g " + flagged + cased, "0|\n(f  x  ON)\n|"},
        {"-g " + keeping + cased, "0|\n(F  x  on)\n|"},
        {"-g " + keeping + " --lexical-options none" + cased, "0|\n(f  x  ON)\n|"},
        {"-g " + flagged + " --lexical-options escape-escapes,keep-keyword-case" + cased, "0|\n(F  x  on)\n|"},
    };
    for (const auto& [args, expected] : cases) {
        const std::string result = Heads(Zel("fmt " + args));
        EXPECT_EQ(expected, expected[0] == '0' ? result : result.substr(0, expected.size())) << args;
    }
}

// Each example checks with its grammar file alone: the good sample reads without a message,
// and what fmt writes reads into the same tree; the bad sample is refused on its line.
TEST(Tools_Examples, EachSampleChecksWithItsGrammarFileAlone)
{
    const struct { const char *grammar, *good, *bad, *firstMessage; } examples[] = {
        {"netlist/netlist.zelg", "netlist/good.net", "netlist/bad.net", ":3: error: Expecting: FORM int (Token=\")\")."},
        {"drawing/drawing.zelg", "drawing/good.draw", nullptr, nullptr},
        {"schematic/schematic.zelg", "schematic/good.sch", "schematic/bad.sch", ":21: error: Expecting: FORM int (Token=\"2.5\")."},
        {"footprint/footprint.zelg", "footprint/good.fp", "footprint/bad.fp", ":22: error: Expecting: FORM real (Token=\")\")."},
    };
    const std::string dir = std::string(ZEL_EXAMPLES_DIR) + "/";
    for (const auto& e : examples) {
        const std::string grammar = "-g " + dir + e.grammar + " ", good = dir + e.good;
        EXPECT_EQ("0||", Zel("check " + grammar + good)) << e.good;
        const std::string written = Zel("fmt " + grammar + good);
        ASSERT_EQ(0u, written.find("0|")) << written;
        const std::string copy = TempFile(written.substr(2, written.size() - 3));
        EXPECT_EQ(Zel("tree " + grammar + good), Zel("tree " + grammar + copy)) << e.good;
        if (!e.bad)
            continue;
        const std::string bad = dir + e.bad, result = Heads(Zel("check " + grammar + bad));
        EXPECT_EQ(0u, result.find("1||" + bad + e.firstMessage + "\n")) << result;
    }
}

// The version printed is the one the headers give, and the library loaded says the same.
TEST(Tools_Zel, VersionIsTheLibrarys)
{
    EXPECT_EQ(std::string("0|zel ") + ZEL_VERSION_STRING + "\n|", Zel("--version"));
    EXPECT_STREQ(ZEL_VERSION_STRING, zelVersion());
}

// Every file the tool cannot read or write, and output that standard output cannot take,
// fails with status 2 and the system's reason; the library's own report stays as it is.
TEST(Tools_Io, FailuresSayTheSystemsReason)
{
    const std::string full = "2||zel: cannot write standard output: No space left on device\n";
    const std::string closed = "2||zel: cannot write standard output: Bad file descriptor\n";
    struct Case { std::string args, redirection, expected; };
    std::vector<Case> cases = {
        {"check " + kGrammar + "/nonexistent/x", "", "2||zel: cannot read \"/nonexistent/x\": No such file or directory\n"},
        {"fmt " + kGrammar + kNetlist, "", "2||zel: cannot read \"" + kNetlist + "\": Is a directory\n"},
        {"check " + kGrammar + "/proc/self/mem", "",
         "2||/proc/self/mem:1: error: Error reading database file: /proc/self/mem\n"
         "zel: cannot read \"/proc/self/mem\": Input/output error\n"},
        {"tree -g /nonexistent/g.zelg " + kGood, "",
         "2||/nonexistent/g.zelg: error: cannot read grammar file \"/nonexistent/g.zelg\": No such file or directory\n"},
        {"fmt " + kGrammar + kGood, ">/dev/full", full},
        {"gen " + kNetlist + "netlist.zelg", ">/dev/full", full},
        {"fmt " + kGrammar + kGood, ">&-", closed},
    };
    // Permissions bind everyone but root.
    if (geteuid() != 0) {
        const std::string hidden = TempFile(ReadFile(kGood)), locked = TempFile(ReadFile(kGood));
        chmod(hidden.c_str(), 0);
        chmod(locked.c_str(), 0444);
        cases.push_back({"check " + kGrammar + hidden, "", "2||zel: cannot read \"" + hidden + "\": Permission denied\n"});
        cases.push_back({"fmt -i " + kGrammar + locked, "", "2||zel: cannot write \"" + locked + "\": Permission denied\n"});
    }
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Zel(c.args, c.redirection)) << c.args << " " << c.redirection;
}

// The manual page renders without a warning and names every option of every help text.
TEST(Tools_Manual, NamesEveryOptionOfTheHelpTexts)
{
    const std::string page = std::string(ZEL_TOOL_SOURCE_DIR) + "/zel.1";
    std::string text = std::regex_replace(ReadFile(page), std::regex(R"(\\f[BIRP])"), "");
    text = std::regex_replace(text, std::regex(R"(\\-)"), "-");
    const std::regex option(R"((^|[^\w-])(--?[a-z][a-z-]*))");
    for (const char* help : {"--help", "check --help", "fmt --help", "tree --help", "gen --help"}) {
        const std::string shown = Zel(help);
        ASSERT_EQ(0u, shown.find("0|usage: zel")) << help;
        for (std::sregex_iterator it(shown.begin(), shown.end(), option), end; it != end; ++it) {
            const std::regex named("(^|[^\\w-])" + (*it)[2].str() + "($|[^a-z-])");
            EXPECT_TRUE(std::regex_search(text, named)) << (*it)[2] << " of zel " << help;
        }
    }
    if (!HasCommand("groff"))
        GTEST_SKIP() << "no groff to render the page";
    EXPECT_EQ("0||", Shell("LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z '" + page + "'"));
}

// The completion offers the commands, each command's options, the values of --engine and
// --lexical-options (after a comma the next name) and grammar files after -g.
TEST(Tools_Completion, CompletesCommandsOptionsAndValues)
{
    if (!HasCommand("bash"))
        GTEST_SKIP() << "no bash";
    std::string names = "none";
    for (const zel::LexicalOptionName& name : zel::kLexicalOptionNames)
        names += std::string(" ") + name.name;
    const std::pair<std::string, std::string> cases[] = {
        {"zel ''", "check fmt tree gen --help --version"},
        {"zel tree --ob", "--objects"},
        {"zel fmt -", "-g --grammar --engine --extended --plain --escape --lexical-options --stack --color --help -i --strip-comments"},
        {"zel gen --", "--prefix --header --with-header --color --help"},
        {"zel tree --f", "--format"},
        {"zel check --engine ''", "recursive iterative"},
        {"zel check --color ''", "auto always never"},
        {"zel tree --format j", "json"},
        {"zel fmt --lexical-options ''", names},
        {"zel fmt --lexical-options escape-escapes,k", "escape-escapes,keep-keyword-case"},
        {"zel fmt -g netlist/n", "netlist/netlist.zelg"},
        {"zel check -g netlist/netlist.zelg netlist/g", "netlist/good.net"},
    };
    const std::string script = std::string(ZEL_TOOL_SOURCE_DIR) + "/zel.bash-completion";
    for (const auto& [words, expected] : cases) {
        const std::string run = TempFile("cd '" ZEL_EXAMPLES_DIR "' && source '" + script + "'\nCOMP_WORDS=(" + words +
                                         ")\nCOMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n_zel\necho -n \"${COMPREPLY[*]}\"\n", ".sh");
        EXPECT_EQ("0|" + expected + "|", Shell("bash '" + run + "'")) << words;
    }
}
