// Token streams under the plain and extended lexical rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/test_access.h"
#include "support/test_grammars.h"

using namespace zeltest;
using A = CZelTestAccess;

namespace {

const char* const kTypeNames[] = {"DUMMY", "FORM", "EOFORM", "COMPOSITE", "INT", "REAL",
                                  "STR", "IDENT", "LIT", "EOF", "EMPTY", "LITIDENT"};

// Text written to a temporary file and opened as the parser's input.
struct Input {
    Input(CZelParser& p, const std::string& text) : name(TempFile(text))
    {
        EXPECT_EQ(1, p.Open(name.c_str(), "r"));
    }
    ~Input() { std::remove(name.c_str()); }
    std::string name;
};

// Cuts one token: "TYPE:text", or "fail/TYPE" when Gettok yields 0.
std::string Next(CZelParser& p)
{
    const int ok = A::Gettok(p);
    const std::string type = kTypeNames[A::TokType(p)];
    return ok ? type + ":" + A::Token(p) : "fail/" + type;
}

// Cuts tokens until Gettok fails: "TYPE:text|...".
std::string Lex(CZelParser& p, const std::string& text)
{
    Input in(p, text);
    std::string out;
    for (std::string t = Next(p); t.compare(0, 5, "fail/") != 0; t = Next(p))
        out += (out.empty() ? "" : "|") + t;
    return out;
}

struct LexCase {
    const char* text;
    int extended;
    char escape;
    const char* tokens;
};

const LexCase kLexCases[] = {
    {"(POINT 1 2.5 \"a b\" name)\n", 0, 0, "FORM:POINT|INT:1|REAL:2.5|STR:a b|IDENT:name|EOFORM:)"},
    {"()", 0, 0, "EMPTY:)"},
    {"()", 1, 0, "EMPTY:)"},
    {"( kw x)", 0, 0, "FORM:kw|IDENT:x|EOFORM:)"},
    {"(\n  kw)\n", 0, 0, "FORM:kw|EOFORM:)"},
    {"(a b(c)d)", 0, 0, "FORM:a|IDENT:b|FORM:c|EOFORM:)|IDENT:d|EOFORM:)"},
    {"; comment\n# comment\n   \n\t\nx;y #z\nq#r\n", 0, 0, "IDENT:x;y|IDENT:q#r"},
    {"\"a\\\"b\" c", 0, '\\', "STR:a\\\"b|IDENT:c"},
    {"\"a\\\"b\"", 0, 0, "STR:a\\|DUMMY:b\""},
    {"\"\" x", 0, 0, "STR:|IDENT:x"},
    {"\"\" x", 1, 0, "STR:|IDENT:x"},
    {"\" x", 1, 0, "IDENT:\"|IDENT:x"},
    {"((A 1))", 1, 0, "FORM:ch|FORM:A|INT:1|EOFORM:)|EOFORM:)"},
    {"'a b' 'ab'cd ' x", 1, 0, "IDENT:a b|IDENT:abcd|IDENT:'|IDENT:x"},
    {"('x')", 1, 0, "FORM:x|EOFORM:)"},
    {"'a\\'b'", 1, '\\', "IDENT:a\\'b"},
    {"'abc' x", 0, 0, "DUMMY:'abc'|IDENT:x"},
    {"&x &a- & y", 0, 0, "IDENT:x|DUMMY:a-|IDENT:|IDENT:y"},
    {"&x", 1, 0, "IDENT:&x"},
    {"42 -7 +- 3.14 1. . 1e5 1E5 2.5E-3 E12 a- a-1 a-b a_1", 0, 0,
     "INT:42|INT:-7|INT:+-|REAL:3.14|REAL:1.|REAL:.|IDENT:1e5|IDENT:1E5|DUMMY:2.5E-3|IDENT:E12|"
     "DUMMY:a-|DUMMY:a-1|IDENT:a-b|IDENT:a_1"},
    {"42 -7 +- 3.14 1. . 1e5 1E5 2.5E-3 E12 a- a-1 a-b", 1, 0,
     "INT:42|INT:-7|INT:+-|REAL:3.14|REAL:1.|REAL:.|IDENT:1e5|REAL:1E5|REAL:2.5E-3|IDENT:E12|"
     "IDENT:a-|IDENT:a-1|IDENT:a-b"},
};

}  // namespace

TEST(Lex_Tokenizer, TokenStreamsUnderBothRules)
{
    Grammar g = NetlistGrammar();
    for (const LexCase& c : kLexCases) {
        CZelParser p(g.get(), 4, 100, c.escape, c.extended);
        EXPECT_EQ(c.tokens, Lex(p, c.text)) << "text: " << c.text << " extended: " << c.extended;
    }
}

TEST(Lex_Tokenizer, DepthTokenCountAndLineCounter)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    Input in(p, "(POINT 1 2.5 \"a b\" name)\n()\n(a \"x\ny\" b)\nc");
    for (int depth : {1, 1, 1, 1, 1, 0, 0}) {
        Next(p);
        EXPECT_EQ(depth, A::Depth(p)) << A::Token(p);
    }
    EXPECT_EQ(9, A::TokenCount(p));  // "(" and its keyword count apart, as do "(" and ")"
    EXPECT_EQ("FORM:a", Next(p));
    EXPECT_EQ(3, A::LineNo(p));
    EXPECT_EQ("STR:x\ny", Next(p));
    EXPECT_EQ(4, A::LineNo(p));
    EXPECT_EQ("IDENT:b", Next(p));
    EXPECT_EQ("EOFORM:)", Next(p));
    EXPECT_EQ("IDENT:c", Next(p));
    // The end of input is sticky; the counter stands one past the five lines read.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ("fail/EOF", Next(p));
        EXPECT_EQ(6, A::LineNo(p));
    }
}

TEST(Lex_Tokenizer, TextInputEndsAtEndOfText)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get(), 4, 100, 0, 1);
    A::SetFromText(p, true);
    A::SetLineText(p, "x 'y");
    EXPECT_EQ("IDENT:x", Next(p));
    EXPECT_EQ("fail/IDENT", Next(p));  // cut off inside a text: a failed read, not the end
    A::SetLineText(p, "(a \"open");
    EXPECT_EQ("FORM:a", Next(p));
    EXPECT_EQ("fail/FORM", Next(p));
    A::SetLineText(p, "z");
    EXPECT_EQ("IDENT:z", Next(p));
    EXPECT_EQ("fail/EOF", Next(p));
    EXPECT_EQ("fail/EOF", Next(p));
}

TEST(Lex_Tokenizer, UnclosedApostropheReportsAndDeliversIdentifier)
{
    Grammar g = NetlistGrammar();
    RecordingParser p(g.get(), 4, 100, 0, 1);
    EXPECT_EQ("INT:1|IDENT:abc|IDENT:x", Lex(p, "1 'abc\nx\n"));
    ASSERT_EQ(1u, p.reports.size());
    EXPECT_EQ("3@1:Unmatched quotes.\n", p.reports[0]);
}

TEST(Lex_Tokenizer, LiteralKeywordsConvertInAnyCase)
{
    Grammar g = NetlistGrammar();
    for (int extended = 0; extended < 2; ++extended) {
        CZelParser p(g.get(), 4, 100, 0, extended);
        Input in(p, "input InPuT design input2");
        const std::string lit = extended ? "LITIDENT:" : "LIT:";
        const std::string expect[] = {lit + "input", lit + "InPuT", "IDENT:design", "IDENT:input2"};
        for (const std::string& expected : expect) {
            Next(p);
            A::ConvertToktyp(p);
            EXPECT_EQ(expected, kTypeNames[A::TokType(p)] + (":" + A::Token(p)));
        }
    }
}

TEST(Lex_Tokenizer, LongLinesTokensAndOpenerRunsArriveWhole)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    const std::string str(100000, 's'), word(100000, 'w'), z(5000, 'z'), y(5000, 'y');
    Input in(p, "\"" + str + "\" " + word + "\n\"" + z + "\n" + y + "\" q\n");
    EXPECT_EQ("STR:" + str, Next(p));
    EXPECT_EQ("IDENT:" + word, Next(p));
    EXPECT_EQ(1, A::LineNo(p));
    EXPECT_EQ("STR:" + z + "\n" + y, Next(p));
    EXPECT_EQ("IDENT:q", Next(p));
    EXPECT_EQ(3, A::LineNo(p));
    // A run of openers is one form token, however long.
    Input run(p, std::string(200000, '(') + "w");
    EXPECT_EQ("FORM:w", Next(p));
    EXPECT_EQ(200000, A::Depth(p));
    EXPECT_EQ(200001, A::TokenCount(p));
}
