// The tool's diagnostics and JSON output: the parts (source excerpt, message texts, JSON
// strings) and the running tool (colour, summary, grammar messages, JSON read back by a
// JSON parser).
#include <gtest/gtest.h>

#include <cmath>

#include "diagnostics.h"
#include "json.h"
#include "printable.h"
#include "run_tool.h"

using namespace zeltest;
using namespace zeltool;

// The source line is shown as it is (tabs: see the tool's places below). A control byte
// shows escaped and pads as wide; a UTF-8 character takes one cell. A long line is shown as
// a window around the column, cut ends marked "...".
TEST(Tools_Diagnostics, SourceExcerptPutsTheCaretUnderTheColumn)
{
    const std::string longLine = std::string(200, 'a') + "(bad)" + std::string(200, 'b');
    const struct { std::string line; int column; std::string expected; } cases[] = {
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
    d.followOn = true;
    EXPECT_EQ("a.net:3:14: note: " + d.text + "\n", plain.Render(d, nullptr));
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
        {"Unrecognized form \"\xc3\xa9\xff\".", zelERR_UNRECOGNIZED_FORM, "Unrecognized form \"\xc3\xa9\\xFF\"."},
        {"the file holds\tno form", -1, "the file holds\\tno form"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.readable, ReadableMessage(c.text, c.code)) << c.text;
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
    EXPECT_EQ(0.1 + 0.2, std::strtod(JsonNumber(0.1 + 0.2).c_str(), nullptr));
    EXPECT_EQ("null", JsonNumber(HUGE_VAL));
}

// --color=always colours, never does not; auto colours on a terminal unless NO_COLOR is set
// to something. The terminal is a pseudo-terminal made by script(1).
TEST(Tools_Diagnostics, ColourFollowsTheOptionTheTerminalAndNoColor)
{
    const std::string check = Tool() + "check " + kGrammar + kBad, red = "\033[1;31merror:\033[0m";
    EXPECT_NE(std::string::npos, Shell(check + " --color=always").find(red));
    EXPECT_NE(std::string::npos, Shell("NO_COLOR=1 " + check + " --color always").find(red));
    EXPECT_EQ(std::string::npos, Shell(check + " --color=never").find('\033'));
    EXPECT_EQ(std::string::npos, Shell(check).find('\033'));  // auto, not a terminal
    if (!HasCommand("script"))
        GTEST_SKIP() << "no script(1) for a terminal";
    for (const auto& [env, coloured] : std::initializer_list<std::pair<std::string, bool>>{{"", true}, {"NO_COLOR= ", true}, {"NO_COLOR=1 ", false}}) {
        const std::string shown = Shell(env + "script -qec \"" + check + "\" /dev/null </dev/null");
        EXPECT_EQ(coloured, shown.find(red) != std::string::npos) << env << shown;
    }
}

// check on several files ends with a count of the errors and warnings shown (on one file it
// does not: see the tool's tests). A grammar's messages are coloured as the file's.
TEST(Tools_Diagnostics, SummaryOfSeveralFilesAndGrammarMessages)
{
    const std::string warned = TempFile("(design d (version 99999999999 1 0))\n");
    const std::string result = Zel("check " + kGrammar + kGood + " " + warned + " /nonexistent/x");
    EXPECT_EQ(0u, result.find("2||")) << result;
    const std::string summary = "\nzel: cannot read \"/nonexistent/x\": No such file or directory\n3 files: 1 error, 1 warning\n";
    EXPECT_EQ(result.size() - summary.size(), result.rfind(summary)) << result;
    EXPECT_EQ("0||2 files: 0 errors, 0 warnings\n", Zel("check " + kGrammar + kGood + " " + kGood));
    const std::string grammar = TempFile("goal a\nform a = int ;\nform b = ( ;\n", ".zelg");
    EXPECT_EQ(0u, Zel("gen --color=always " + grammar).find("2||\033[1m" + grammar + ":3:\033[0m \033[1;31merror:\033[0m "));
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
        "    print(m['file'].rsplit('/', 1)[-1], m['line'], m['column'], m['severity'], m['code'], m['text'], m['followOn'], sep='|')\n",
        ".py");
    const std::string token = TempFile("(design d (version 1 \"a\tb\\\" 0))\n", ".net");
    const std::string result = Zel("check --format json " + kGrammar + kBad + " " + token + " /nonexistent/x | python3 " + reader);
    const std::string name = token.substr(token.rfind('/') + 1);
    EXPECT_EQ(0u, result.find("0|bad.net|3|14|error|EXPECTING|Expecting: FORM int (Token=\")\").|False\n")) << result;
    EXPECT_NE(std::string::npos, result.find("\nbad.net|10|4|note|SKIPPING_FORM|Skipping rest of form: cell.|True\n")) << result;
    EXPECT_NE(std::string::npos, result.find("\n" + name + "|1|22|error|EXPECTING|Expecting: FORM int (Token=\"a\tb\\\").|False\n"))
        << result;
    EXPECT_NE(std::string::npos, result.find("\nx|0|0|error|IO|cannot read \"/nonexistent/x\": No such file or directory|False\n|"))
        << result;
    const std::string grammar = TempFile("goal a\nform a = int* int? ;\n", ".zelg");
    EXPECT_EQ("0|" + grammar.substr(grammar.rfind('/') + 1) + "|2|0|warning|GRAMMAR|\"int\" is never reached: the repeated "
              "\"int\" before it takes every token it can start with|False\n|",
              Zel("check --format json -g " + grammar + " " + TempFile("(a 1)\n") + " | python3 " + reader));
}

// tree --format json is the tree of tree's text, read back by a JSON parser: keyword, type,
// value and children of every node; any bytes of a string and a failed parse give valid JSON.
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
    EXPECT_EQ(Zel("tree " + kGrammar + kGood), Zel("tree --format json " + kGrammar + kGood + " | python3 " + reader));
    // Control bytes, quotes, backslashes and bytes that are no UTF-8, each read back as the
    // byte it stands for.
    const std::string grammar = TempFile("goal f\nform f = (string | int | real | ident | f)* ;\n", ".zelg");
    const std::string odd = TempFile("(f \"a\tb\x01\x7f\xff c\" \\\\x -7 1.5e300 (f (f)))\n");
    EXPECT_EQ(Zel("tree -g " + grammar + " " + odd), Zel("tree --format json -g " + grammar + " " + odd + " | python3 " + reader + " latin"));
    // The tree of a parse that failed inside forms it left open.
    const std::string cut = TempFile("(design d (cell a (port p INPUT) (port q");
    EXPECT_EQ(Shell(Tool() + "tree " + kGrammar + cut + " 2>/dev/null; true"),
              Shell(Tool() + "tree --format json " + kGrammar + cut + " 2>/dev/null | python3 " + reader));
}

// The JSON tree of a form nested 100000 deep is written without recursion: the innermost
// node, then every form closed.
TEST(Tools_Json, DeepTreeIsWrittenWhole)
{
    const int depth = 100000;
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "(f ";
    text += std::string(depth, ')') + "\n";
    const std::string grammar = TempFile("goal f\nform f = f* ;\n", ".zelg"), file = TempFile(text);
    const std::string result = Zel("tree --engine iterative --format json -g " + grammar + " " + file);
    const std::string node = "{\"keyword\":\"f\",\"type\":\"FORM\",\"line\":";
    ASSERT_EQ(0u, result.find("0|[\n" + node)) << result.substr(0, 200);
    const std::string innermost = ",\"children\":[]}";
    EXPECT_EQ(result.size() - 4 - 2 * (depth - 1) - innermost.size(), result.rfind(innermost));
    EXPECT_EQ("\n]\n|", result.substr(result.size() - 4));
}

// The places the library gives: the column after the line, the source line and the caret
// under the token (tabs repeated, so that it stands under its byte on any tab width), a
// follow-on report without the line again, the lines of standard input kept; the JSON
// tree gives each node's line.
TEST(Tools_Diagnostics, ReportsShowTheirPlaceInTheSource)
{
    const std::string text = "(design d\n\t(version 1\t)\n (cell c (mux2 x)))\n", file = TempFile(text);
    const std::string expected = ":2:13: error: Expecting: FORM int (Token=\")\").\n\t(version 1\t)\n\t          \t^\n";
    const std::string result = Zel("check " + kGrammar + file);
    EXPECT_EQ(0u, result.find("1||" + file + expected)) << result;
    EXPECT_NE(std::string::npos, result.find("\n (cell c (mux2 x)))\n          ^\n" + file + ":3:11: note: Skipping rest of form: cell.\n")) << result;
    EXPECT_EQ(0u, Shell("printf '(design d\\n\\t(version 1\\t)\\n)\\n' | " + Tool() + "check " + kGrammar + "-").find("1||<stdin>" + expected));
    const std::string tree = Zel("tree --format json " + kGrammar + kGood);
    EXPECT_EQ(std::string::npos, tree.find("\"line\":0")) << tree.substr(0, 300);
}
