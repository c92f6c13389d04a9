// The tool's diagnostics and JSON output: the parts (source excerpt, message texts, JSON
// strings) and the running tool (colour, summary, grammar messages, JSON read back by a
// JSON parser).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sys/wait.h>

#include "diagnostics.h"
#include "json.h"
#include "printable.h"
#include "support/test_grammars.h"

using namespace zeltest;
using namespace zeltool;

namespace {

const std::string kNetlist = std::string(ZEL_EXAMPLES_DIR) + "/netlist/";
const std::string kGrammar = "-g " + kNetlist + "netlist.zelg ";

// Runs a shell command line; returns "<exit status>|<stdout>|<stderr>".
std::string Shell(const std::string& command)
{
    const std::string out = TempFile(""), err = TempFile("");
    const int raw = std::system(("(" + command + ") >" + out + " 2>" + err).c_str());
    return std::to_string(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1) + "|" + ReadFile(out) + "|" + ReadFile(err);
}

std::string Tool() { return std::string("'") + ZEL_TOOL + "' "; }

bool HasCommand(const char* name) { return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0; }

// A parser that keeps the first report's place.
class PlaceParser : public CZelParser {
public:
    using CZelParser::CZelParser;
    void PrintError(zelSevCode, int, const char*) override
    {
        if (!m_seen)
            m_first = GetReport();
        m_seen = true;
    }
    zelReportS m_first{0, 0, 0, 0};
    bool m_seen = false;
};

// True when the library tells the column of a report: the tests of the places shown
// need it.
bool LibraryGivesColumns()
{
    CZelGrammar grammar;
    if (grammar.CompileFile((kNetlist + "netlist.zelg").c_str()) != 0)
        return false;
    PlaceParser parser(grammar.GetDescriptor());
    parser.Parse((kNetlist + "bad.net").c_str(), 0);
    return parser.m_first.column > 0;
}

}  // namespace

// The source line is shown as it is, tabs kept, and the caret's padding repeats each tab so
// that the caret stands under the byte of the column on any tab width. A control byte
// shows escaped and pads as wide; a UTF-8 character takes one cell. A long line is shown as
// a window around the column, cut ends marked "...".
TEST(Tools_Diagnostics, SourceExcerptPutsTheCaretUnderTheColumn)
{
    const std::string longLine = std::string(200, 'a') + "(bad)" + std::string(200, 'b');
    const struct { std::string line; int column; std::string expected; } cases[] = {
        {"(version 1 0)", 14, "(version 1 0)\n             ^\n"},
        {"\t(version\t1 0)", 11, "\t(version\t1 0)\n\t        \t^\n"},
        {"(x \x01 y)", 6, "(x \\x01 y)\n        ^\n"},
        {"(\xc3\xa9 \xff y)", 7, "(\xc3\xa9 \\xFF y)\n        ^\n"},
        {"(x)", 9, "(x)\n   ^\n"},  // past the end: after the last byte
        {longLine, 201, "..." + std::string(40, 'a') + "(bad)" + std::string(55, 'b') + "...\n" + std::string(43, ' ') + "^\n"},
        {"(x)\r", 1, "(x)\\r\n^\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, SourceExcerpt(c.line, c.column, false)) << c.line;
    EXPECT_EQ("(x)\n \033[1;32m^\033[0m\n", SourceExcerpt("(x)", 2, true));
}

// A message is FILE:LINE:COLUMN: severity: text, the location bold and the severity in its
// colour when coloured; without a column, FILE:LINE: and no source line; a follow-on report
// is a note.
TEST(Tools_Diagnostics, RenderFollowsTheCompilersConvention)
{
    DiagnosticPrinter plain, coloured;
    coloured.Configure(false, true);
    Diagnostic d;
    d.file = "a.net";
    d.line = 3;
    d.column = 14;
    d.text = "Expecting: FORM int (Token=\")\").";
    const std::string line = "(version 1 0)";
    EXPECT_EQ("a.net:3:14: error: " + d.text + "\n" + line + "\n             ^\n", plain.Render(d, &line));
    EXPECT_EQ("\033[1ma.net:3:14:\033[0m \033[1;31merror:\033[0m " + d.text + "\n" + line + "\n             \033[1;32m^\033[0m\n",
              coloured.Render(d, &line));
    d.severity = zelSEV_WARNING;
    EXPECT_EQ(0u, coloured.Render(d, nullptr).find("\033[1ma.net:3:14:\033[0m \033[1;35mwarning:\033[0m "));
    d.followOn = true;
    EXPECT_EQ("a.net:3:14: note: " + d.text + "\n", plain.Render(d, nullptr));
    EXPECT_EQ(0u, coloured.Render(d, nullptr).find("\033[1ma.net:3:14:\033[0m \033[1;36mnote:\033[0m "));
    d.column = 0;
    EXPECT_EQ("a.net:3: note: " + d.text + "\n", plain.Render(d, &line));
    d.line = 0;
    EXPECT_EQ("a.net: note: " + d.text + "\n", plain.Render(d, &line));
}

// The tokens quoted in the library's messages are cut and escaped for reading, the rest of
// the text is escaped only; a text that is not its code's message is escaped whole.
TEST(Tools_Diagnostics, TokensInMessagesAreCutAndEscaped)
{
    const std::string longToken(100, 'x'), cut = std::string(60, 'x') + "...";
    const struct { std::string text; int code; std::string readable; } cases[] = {
        {"Expecting: FORM int (Token=\"" + longToken + "\").", zelERR_EXPECTING, "Expecting: FORM int (Token=\"" + cut + "\")."},
        {"Unexpected token \"a\tb\nc\" within construct \"cell\".", zelERR_UNEXPECTED_TOKEN,
         "Unexpected token \"a\\tb\\nc\" within construct \"cell\"."},
        {"Unexpected token \"\" within \" within construct \"f\".", zelERR_UNEXPECTED_TOKEN,
         "Unexpected token \"\" within \" within construct \"f\"."},
        {"Integer \"" + std::string(70, '9') + "\" is out of range; the nearest 32-bit value is kept.", zelERR_INT_RANGE,
         "Integer \"" + std::string(60, '9') + "...\" is out of range; the nearest 32-bit value is kept."},
        {"Error opening database file: /" + longToken, zelERR_OPEN_FILE, "Error opening database file: /" + longToken},
        {"Unexpected end of form \")\".", zelERR_UNEXPECTED_EOFORM, "Unexpected end of form \")\"."},
        {"ZEL Parser Error: Internal stack overflow. (100)", zelERR_STACK_OVERFLOW, "ZEL Parser Error: Internal stack overflow. (100)"},
        {"Unrecognized form \"\xc3\xa9\xff\".", zelERR_UNRECOGNIZED_FORM, "Unrecognized form \"\xc3\xa9\\xFF\"."},
        {"the file holds\tno form", -1, "the file holds\\tno form"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.readable, ReadableMessage(c.text, c.code)) << c.text;
    EXPECT_EQ("Unexpected end of form \\x01", ReadableMessage("Unexpected end of form \x01", zelERR_EXPECTING));
    EXPECT_EQ("EXPECTING", CodeName(zelERR_EXPECTING));
    EXPECT_EQ("CODE_99", CodeName(99));
    // A cut never splits a UTF-8 character.
    EXPECT_EQ(std::string(59, 'x') + "...", CutToLength(std::string(59, 'x') + "\xc3\xa9", 60));
}

// Any bytes give a valid JSON string: quote, backslash and control bytes escaped, UTF-8 kept,
// other bytes as \u00XX of their value.
TEST(Tools_Json, StringsAreEscapedAndNumbersReadBack)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "\"plain\""},
        {"q\"b\\", "\"q\\\"b\\\\\""},
        {"\t\n\r\x01\x1f\x7f", "\"\\t\\n\\r\\u0001\\u001f\\u007f\""},
        {"\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80", "\"\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80\""},
        {"\xff\xc3\xed\xa0\x80", "\"\\u00ff\\u00c3\\u00ed\\u00a0\\u0080\""},  // stray, cut, surrogate
    };
    for (const auto& [text, json] : cases)
        EXPECT_EQ(json, JsonString(text));
    EXPECT_EQ("0.1", JsonNumber(0.1));
    EXPECT_EQ("2.5e+300", JsonNumber(2.5e300));
    EXPECT_EQ(0.1 + 0.2, std::strtod(JsonNumber(0.1 + 0.2).c_str(), nullptr));
    EXPECT_EQ("null", JsonNumber(HUGE_VAL));
}

// --color=always colours, never does not; auto colours on a terminal unless NO_COLOR is set
// to something. The terminal is a pseudo-terminal made by script(1).
TEST(Tools_Diagnostics, ColourFollowsTheOptionTheTerminalAndNoColor)
{
    const std::string bad = kNetlist + "bad.net", check = Tool() + "check " + kGrammar + bad;
    const std::string red = "\033[1;31merror:\033[0m";
    EXPECT_NE(std::string::npos, Shell(check + " --color=always").find(red));
    EXPECT_NE(std::string::npos, Shell("NO_COLOR=1 " + check + " --color always").find(red));
    EXPECT_EQ(std::string::npos, Shell(check + " --color=never").find('\033'));
    EXPECT_EQ(std::string::npos, Shell(check).find('\033'));  // auto, not a terminal
    EXPECT_EQ("2||zel check: --color takes auto, always or never, not \"sometimes\" (see \"zel check --help\")\n",
              Shell(check + " --color=sometimes"));
    EXPECT_EQ("2||zel check: option --plain takes no value (see \"zel check --help\")\n", Shell(check + " --plain=1"));
    if (!HasCommand("script"))
        GTEST_SKIP() << "no script(1) for a terminal";
    const std::pair<std::string, bool> terminal[] = {
        {"", true}, {"NO_COLOR= ", true}, {"NO_COLOR=1 ", false}, {"NO_COLOR=1 --color=always", true}};
    for (const auto& [setting, coloured] : terminal) {
        const std::string env = setting.compare(0, 9, "NO_COLOR=") == 0 ? setting.substr(0, setting.find(' ') + 1) : "";
        const std::string option = setting.find("--") != std::string::npos ? setting.substr(setting.find("--")) : "";
        const std::string shown = Shell(env + "script -qec \"" + check + " " + option + "\" /dev/null </dev/null");
        EXPECT_EQ(coloured, shown.find(red) != std::string::npos) << setting << shown;
    }
}

// check on several files ends with a count of the errors and warnings shown; on one file
// it does not. A grammar's messages are the grammar file's diagnostics.
TEST(Tools_Diagnostics, SummaryOfSeveralFilesAndGrammarMessages)
{
    const std::string good = kNetlist + "good.net", bad = kNetlist + "bad.net";
    const std::string warned = TempFile("(design d (version 99999999999 1 0))\n");
    std::string result = Shell(Tool() + "check " + kGrammar + good + " " + warned + " /nonexistent/x");
    EXPECT_EQ(0u, result.find("2||")) << result;
    const std::string summary = "\nzel: cannot read \"/nonexistent/x\": No such file or directory\n3 files: 1 error, 1 warning\n";
    EXPECT_EQ(result.size() - summary.size(), result.rfind(summary)) << result;
    result = Shell(Tool() + "check " + kGrammar + good + " " + good);
    EXPECT_EQ("0||2 files: 0 errors, 0 warnings\n", result);
    EXPECT_EQ(std::string::npos, Shell(Tool() + "check " + kGrammar + bad).find(" files: "));
    // Grammar errors: FILE:LINE: error: text; a message without a line: FILE: error: text.
    const std::string grammar = TempFile("goal a\nform a = int ;\nform b = ( ;\n", ".zelg");
    result = Shell(Tool() + "check -g " + grammar + " " + good);
    EXPECT_EQ(0u, result.find("2||" + grammar + ":3: error: ")) << result;
    result = Shell(Tool() + "gen --color=always " + grammar);
    EXPECT_EQ(0u, result.find("2||\033[1m" + grammar + ":3:\033[0m \033[1;31merror:\033[0m ")) << result;
}

// check --format json writes one JSON object a line on standard output, which a JSON parser
// reads: file, line, column, severity, the code's name, the library's text unchanged,
// followOn. I/O errors and grammar messages are objects too.
TEST(Tools_Json, CheckWritesOneObjectPerMessage)
{
    if (!HasCommand("python3"))
        GTEST_SKIP() << "no python3 to read the JSON";
    const std::string reader = TempFile(
        "import json, sys\n"
        "for line in sys.stdin:\n"
        "    m = json.loads(line)\n"
        "    assert sorted(m) == ['code', 'column', 'file', 'followOn', 'line', 'severity', 'text'], m\n"
        "    print(m['file'].rsplit('/', 1)[-1], m['line'], m['severity'], m['code'], m['text'], sep='|')\n",
        ".py");
    const std::string token = TempFile("(design d (version 1 \"a\tb\\\" 0))\n", ".net");
    const std::string result = Shell(Tool() + "check --format json " + kGrammar + kNetlist + "bad.net " + token +
                                   " /nonexistent/x | python3 " + reader);
    const std::string name = token.substr(token.rfind('/') + 1);
    EXPECT_EQ(0u, result.find("0|bad.net|3|error|EXPECTING|Expecting: FORM int (Token=\")\").\n")) << result;
    EXPECT_NE(std::string::npos, result.find("\nbad.net|10|note|SKIPPING_FORM|Skipping rest of form: cell.\n")) << result;
    EXPECT_NE(std::string::npos, result.find("\n" + name + "|1|error|EXPECTING|Expecting: FORM int (Token=\"a\tb\\\").\n"))
        << result;
    EXPECT_NE(std::string::npos, result.find("\nx|0|error|IO|cannot read \"/nonexistent/x\": No such file or directory\n|"))
        << result;
    const std::string grammar = TempFile("goal a\nform a = int* int? ;\n", ".zelg");
    EXPECT_EQ("0|" + grammar.substr(grammar.rfind('/') + 1) + "|2|warning|GRAMMAR|\"int\" is never reached: the repeated "
              "\"int\" before it takes every token it can start with\n|",
              Shell(Tool() + "check --format json -g " + grammar + " " + TempFile("(a 1)\n") + " | python3 " + reader));
}

// tree --format json is the tree of tree's text, read back by a JSON parser: keyword, type,
// value and children of every node; any bytes of a string give valid JSON.
TEST(Tools_Json, TreeReadsBackAsTheTextTree)
{
    if (!HasCommand("python3"))
        GTEST_SKIP() << "no python3 to read the JSON";
    const std::string reader = TempFile(
        "import json, sys\n"
        "pending = [(goal, 0) for goal in reversed(json.load(sys.stdin))]\n"
        "while pending:\n"
        "    node, depth = pending.pop()\n"
        "    value = node.get('value')\n"
        "    shown = '' if value is None else '  \"' + value + '\"' if node['type'] == 'STRTOK' else\\\n"
        "        '  %f' % value if node['type'] == 'REALTOK' else '  ' + str(value)\n"
        "    sys.stdout.buffer.write(('  ' * depth + node['keyword'] + '  ' + node['type'] + shown + '\\n')\n"
        "        .encode('latin-1' if 'latin' in sys.argv else 'utf-8'))\n"
        "    pending += [(child, depth + 1) for child in reversed(node.get('children', []))]\n",
        ".py");
    const std::string good = kNetlist + "good.net";
    const std::string text = Shell(Tool() + "tree " + kGrammar + good);
    EXPECT_EQ(text, Shell(Tool() + "tree --format json " + kGrammar + good + " | python3 " + reader));
    // Control bytes, quotes, backslashes and bytes that are no UTF-8, each read back as the
    // byte it stands for.
    const std::string grammar = TempFile("goal f\nform f = (string | int | real | ident | f)* ;\n", ".zelg");
    const std::string odd = TempFile("(f \"a\tb\x01\x7f\xff c\" \\\\x -7 1.5e300 (f (f)))\n");
    EXPECT_EQ(Shell(Tool() + "tree -g " + grammar + " " + odd),
              Shell(Tool() + "tree --format json -g " + grammar + " " + odd + " | python3 " + reader + " latin"));
    EXPECT_EQ("2||zel tree: --objects writes a table of text; it does not go with --format json\n",
              Shell(Tool() + "tree --objects --format json " + kGrammar + good));
}

// The JSON tree of a form nested 100000 deep is written without recursion and closes every
// form it opens.
TEST(Tools_Json, DeepTreeIsWrittenWhole)
{
    const int depth = 100000;
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "(f ";
    text += std::string(depth, ')') + "\n";
    const std::string grammar = TempFile("goal f\nform f = f* ;\n", ".zelg"), file = TempFile(text);
    const std::string result = Shell(Tool() + "tree --engine iterative --format json -g " + grammar + " " + file);
    const std::string node = "{\"keyword\":\"f\",\"type\":\"FORM\",\"line\":";
    ASSERT_EQ(0u, result.find("0|[\n" + node)) << result.substr(0, 200);
    size_t opened = 0;
    for (size_t at = 0; (at = result.find(node, at)) != std::string::npos; at += node.size())
        ++opened;
    EXPECT_EQ(static_cast<size_t>(depth), opened);
    const std::string innermost = ",\"children\":[]}";
    EXPECT_EQ(result.size() - 4 - 2 * (depth - 1) - innermost.size(), result.rfind(innermost));
    EXPECT_EQ("\n]\n|", result.substr(result.size() - 4));
}

// The places the library gives: the column after the line, the source line and the caret
// under the token (tabs repeated), a follow-on report without the line again,
// the lines of standard input kept. Needs the library's report positions.
TEST(Tools_Diagnostics, ReportsShowTheirPlaceInTheSource)
{
    if (!LibraryGivesColumns())
        GTEST_SKIP() << "the library gives no report columns";
    const std::string text = "(design d\n\t(version 1\t)\n (cell c (mux2 x)))\n", file = TempFile(text);
    const std::string expected = ":2:13: error: Expecting: FORM int (Token=\")\").\n\t(version 1\t)\n\t          \t^\n";
    const std::string result = Shell(Tool() + "check " + kGrammar + file);
    EXPECT_EQ(0u, result.find("1||" + file + expected)) << result;
    EXPECT_NE(std::string::npos, result.find("\n (cell c (mux2 x)))\n          ^\n" + file + ":3:11: note: Skipping rest of form: cell.\n")) << result;
    EXPECT_EQ(0u, Shell("printf '(design d\\n\\t(version 1\\t)\\n)\\n' | " + Tool() + "check " + kGrammar + "-")
                      .find("1||<stdin>" + expected));
    if (HasCommand("python3")) {
        EXPECT_EQ("0|2 13 False True\n|", Shell(Tool() + "check --format json " + kGrammar + file +
                                       " | python3 -c 'import json,sys; m=[json.loads(l) for l in sys.stdin]; "
                                       "print(m[0][\"line\"], m[0][\"column\"], m[0][\"followOn\"], m[2][\"followOn\"])'"));
    }
    // The JSON tree gives each node's line.
    const std::string tree = Shell(Tool() + "tree --format json " + kGrammar + kNetlist + "good.net");
    EXPECT_EQ(std::string::npos, tree.find("\"line\":0")) << tree.substr(0, 300);
}
