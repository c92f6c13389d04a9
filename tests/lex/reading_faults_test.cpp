// Input that ends the reading: NUL bytes, lines and tokens past the longest, input that
// ends inside a token. Each is reported once on its line and fails the parse; nothing after
// it is read.
#include <gtest/gtest.h>

#include "core/parser_access.h"
#include "support/components.h"

using namespace zeltest;

namespace {

const char kNul[] = "NUL byte in the input; reading stops here.\n";
const char kLength[] = "Input buffer length exceeded.\n";
const char kEnd[] = "Unexpected end of file.\n";

}  // namespace

// Rows: file text, rules (1 extended), longest line or token (0: the default), then the goals
// begun and the first report, "-" when there is none. Every row's parse fails, under both
// engines.
TEST(Lex_LineReader, FaultsEndTheParseWithOneReportOnTheirLine)
{
    const std::string comments = Repeat("; a comment line\n", 7000);  // the NUL lies in a later read block
    const struct { std::string text; int extended; size_t limit; std::string outcome; } cases[] = {
        {std::string("(design top (cell a)\0 (cell h2))\n", 33), 0, 0, std::string("0 3@1:") + kNul},
        {std::string("(design a)\n; note \0 (design b)\n(design c)\n", 42), 0, 0, std::string("1 3@2:") + kNul},
        {comments + std::string("(design x\0)\n", 12), 0, 0, std::string("0 3@7001:") + kNul},
        {"(design a)\n(design " + std::string(4087, 'x') + ")\n", 0, 4096, std::string("1 3@2:") + kLength},
        {"(design top (cell c (net n \"open\n", 0, 0, std::string("1 3@2:") + kEnd},
        // An end inside a string after another report is not reported again.
        {"(design top (version x) \"open", 0, 0, "1 3@1:Expecting: FORM integer (Token=\"x\")."},
    };
    for (const auto& c : cases)
        for (int engine = 0; engine < 2; ++engine) {
            Grammar g = NetlistGrammar();
            RecordingParser p(g.get(), 4, 100, 0, c.extended);
            if (c.limit)
                zel::ParserAccess::Of(p).lexer.SetTextLimit(c.limit);
            EXPECT_NE(0, ParseText(p, c.text, engine));
            const std::string outcome = std::to_string(p.GetGoalCount()) + " " + (p.reports.empty() ? "-" : p.reports[0]);
            EXPECT_EQ(c.outcome, outcome) << c.text.substr(0, 60) << " engine " << engine;
            int ends = 0;
            for (const std::string& r : p.reports)
                ends += r.find(kEnd) != std::string::npos;
            EXPECT_LE(ends, 1);
        }
}

// A line or token exactly as long as the longest is read; one character more is refused and
// leaves no token. The token is a string of three lines, each shorter than the longest.
TEST(Lex_LineReader, LongestLineAndTokenAreTheLimit)
{
    Grammar g = NetlistGrammar();
    const std::string part(2000, 's');
    for (int extra = 0; extra < 2; ++extra)
        for (const std::string& text : {"x" + std::string(4094 + extra, 'x') + "\n",
                                        "\"" + part + "\n" + part + "\n" + std::string(94 + extra, 's') + "\""}) {
            Components c(g.get());
            c.lexer.SetTextLimit(4096);
            c.SetFile(text);
            EXPECT_EQ(1 - extra, c.lexer.Gettok());
            EXPECT_EQ(extra ? 0u : text.size() - 1 - (text[0] == '"'), c.lexer.TokenLength());
            const std::vector<std::string>& reports = c.hooks.reports;
            EXPECT_EQ(extra ? std::string("3@") + (text[0] == '"' ? "3:" : "1:") + kLength : "", reports.empty() ? "" : reports[0]);
        }
}

// Once reading has stopped, Gettok returns 0 at once, also after the report cap: no further
// line is read.
TEST(Lex_LineReader, AStoppedReadStaysStoppedPastTheReportCap)
{
    Grammar g = NetlistGrammar();
    Components c(g.get());
    c.SetFile(std::string("a\nb\0c\n", 6) + Repeat("(design x)\n", 1000));
    for (int i = 0; i < 21; ++i)
        c.reporter.Report(zelERR_SYNTAX, 0);
    ASSERT_TRUE(c.reporter.Silenced());
    EXPECT_EQ(1, c.lexer.Gettok());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(0, c.lexer.Gettok());
    EXPECT_EQ(2, c.lexer.LineNo());
    EXPECT_NE(zelKW_EOFILE, c.lexer.TokenType());
}
