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
    Input(CZelParser& p, const std::string& text) : name(TempFile(text)) { EXPECT_EQ(1, p.Open(name.c_str(), "r")); }
    ~Input() { std::remove(name.c_str()); }
    std::string name;
};

// Cuts one token, converting identifiers as the form parser does: "TYPE:text", or
// "fail/TYPE" when Gettok yields 0.
std::string Next(CZelParser& p)
{
    const int ok = A::Gettok(p);
    if (ok && A::TokType(p) == zelKW_IDENT)
        A::ConvertToktyp(p);
    const std::string type = kTypeNames[A::TokType(p)];
    return ok ? type + ":" + A::Token(p) : "fail/" + type;
}

}  // namespace

// Rows: text, rules (0 plain, 1 extended, 2 both), escape, the tokens until Gettok fails, each report after "!".
TEST(Lex_Tokenizer, TokenStreamsUnderBothRules)
{
    const struct { const char* text; int extended; char escape; const char* tokens; } cases[] = {
        {"(POINT 1 2.5 \"a b\" name)\n", 2, 0, "FORM:POINT|INT:1|REAL:2.5|STR:a b|IDENT:name|EOFORM:)"},
        {"()", 2, 0, "EMPTY:)"}, {"\"\" x", 2, 0, "STR:|IDENT:x"}, {"\" x", 1, 0, "IDENT:\"|IDENT:x"},
        {"( kw x)(\n  kw)", 0, 0, "FORM:kw|IDENT:x|EOFORM:)|FORM:kw|EOFORM:)"},
        {"(a b(c)d)", 0, 0, "FORM:a|IDENT:b|FORM:c|EOFORM:)|IDENT:d|EOFORM:)"},
        {"; comment\n# comment\n   \n\t\nx;y #z\nq#r\n", 0, 0, "IDENT:x;y|IDENT:q#r"},
        {"\"a\\\"b\" c", 0, '\\', "STR:a\\\"b|IDENT:c"}, {"\"a\\\"b\"", 0, 0, "STR:a\\|DUMMY:b\""},
        {"((A 1))", 1, 0, "FORM:ch|FORM:A|INT:1|EOFORM:)|EOFORM:)"}, {"('x')", 1, 0, "FORM:x|EOFORM:)"},
        {"'a b' 'ab'cd ' x", 1, 0, "IDENT:a b|IDENT:abcd|IDENT:'|IDENT:x"}, {"'a\\'b'", 1, '\\', "IDENT:a\\'b"},
        {"'abc' x", 0, 0, "DUMMY:'abc'|IDENT:x"}, {"&x", 1, 0, "IDENT:&x"},
        {"1 'abc\nx\n", 1, 0, "INT:1|IDENT:abc|IDENT:x!3@1:Unmatched quotes.\n"},
        {"&x &a- & y", 0, 0, "IDENT:x|DUMMY:a-|LIT:|IDENT:y"},  // "&" alone: the empty word, keyword 0's key
        {"42 -7 +- 3.14 1. . 1e5 1E5 2.5E-3 E12 a- a-1 a-b a_1", 0, 0,
         "INT:42|INT:-7|INT:+-|REAL:3.14|REAL:1.|REAL:.|IDENT:1e5|IDENT:1E5|DUMMY:2.5E-3|IDENT:E12|"
         "DUMMY:a-|DUMMY:a-1|IDENT:a-b|IDENT:a_1"},
        {"42 -7 +- 3.14 1. . 1e5 1E5 2.5E-3 E12 a- a-1 a-b", 1, 0,
         "INT:42|INT:-7|INT:+-|REAL:3.14|REAL:1.|REAL:.|IDENT:1e5|REAL:1E5|REAL:2.5E-3|IDENT:E12|"
         "IDENT:a-|IDENT:a-1|IDENT:a-b"},
        // Literal keywords are known in any case; form keywords and longer words are not.
        {"input InPuT design input2", 0, 0, "LIT:input|LIT:InPuT|IDENT:design|IDENT:input2"},
        {"input InPuT design input2", 1, 0, "LITIDENT:input|LITIDENT:InPuT|IDENT:design|IDENT:input2"},
    };
    Grammar g = NetlistGrammar();
    for (const auto& c : cases) {
        for (int extended = 0; extended < 2; ++extended) {
            if (c.extended != 2 && c.extended != extended)
                continue;
            RecordingParser p(g.get(), 4, 100, c.escape, extended);
            Input in(p, c.text);
            std::string out;
            for (std::string t = Next(p); t.compare(0, 5, "fail/") != 0; t = Next(p))
                out += (out.empty() ? "" : "|") + t;
            for (const std::string& r : p.reports)
                out += "!" + r;
            EXPECT_EQ(c.tokens, out) << "text: " << c.text << " extended: " << extended;
        }
    }
}

TEST(Lex_Tokenizer, DepthTokenCountAndLineCounter)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    const std::string z(5000, 'z'), y(5000, 'y');  // a string longer than a line, over two lines
    Input in(p, "(POINT 1 2.5 \"a b\" name)\n()\n(a \"x\ny\" b)\n\"" + z + "\n" + y + "\" c");
    for (int depth : {1, 1, 1, 1, 1, 0, 0}) {
        Next(p);
        EXPECT_EQ(depth, A::Depth(p)) << A::Token(p);
    }
    EXPECT_EQ(9, A::TokenCount(p));  // "(" and its keyword count apart, as do "(" and ")"
    // Each token with the line counter after it. The end of input is sticky; the counter
    // then stands one past the six lines read.
    const std::string expected[] = {"FORM:a@3", "STR:x\ny@4", "IDENT:b@4", "EOFORM:)@4", "STR:" + z + "\n" + y + "@6",
                                    "IDENT:c@6", "fail/EOF@7", "fail/EOF@7"};
    for (const std::string& token : expected) {
        const std::string cut = Next(p);
        EXPECT_EQ(token, cut + "@" + std::to_string(A::LineNo(p)));
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
