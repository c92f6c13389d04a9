// Where tokens start, and where the end of the input is charged to.
#include <gtest/gtest.h>

#include "support/components.h"

using namespace zeltest;

namespace {

std::string At(zel::TextPosition at) { return std::to_string(at.line) + ":" + std::to_string(at.column); }

}  // namespace

// Rows: text, extended rules, read as a text (not a file), each token with where it starts.
// Columns count bytes of the physical line (a tab is one, CR LF two); a string wrapped over
// lines starts at its quote; a keyword after a run of openers starts at its first byte, and
// "((" under the extended rules opens "ch" at its first "(". A text counts from line 1 and
// its columns from the start of the text.
TEST(Lex_Position, WhereTokensStart)
{
    const struct { const char* text; bool extended, asText; const char* tokens; } cases[] = {
        {"(design a\r\n  (cell \"x\ny\" b)\n\t\tz", false, false,
         "FORM:design@1:2 IDENT:a@1:9 FORM:cell@2:4 STR:x\ny@2:9 IDENT:b@3:4 EOFORM:)@3:5 IDENT:z@4:3"},
        {"\n\n  ((a 1)\r\n)", false, false, "FORM:a@3:5 INT:1@3:7 EOFORM:)@3:8 EOFORM:)@4:1"},
        {"((A 1))", true, false, "FORM:ch@1:1 FORM:A@1:3 INT:1@1:5 EOFORM:)@1:6 EOFORM:)@1:7"},
        {"( \n design)", false, false, "FORM:design@2:2 EOFORM:)@2:8"},
        {"(a\n b) c", false, true, "FORM:a@1:2 IDENT:b@1:5 EOFORM:)@1:6 IDENT:c@1:8"},
    };
    Grammar g = NetlistGrammar();
    for (const auto& row : cases) {
        Components c(g.get(), 0, row.extended);
        if (row.asText)
            c.SetText(row.text);
        else
            c.SetFile(row.text);
        std::string out;
        for (std::string t = c.Next(); t.compare(0, 5, "fail/") != 0; t = c.Next())
            out += (out.empty() ? "" : " ") + t + "@" + At(c.lexer.TokenPosition());
        EXPECT_EQ(row.tokens, out) << "text: " << row.text;
    }
}

// Rows: input that ends while something is open, where the end is charged to: a quoted text
// left open (its quote), a "(" with nothing after it, the innermost form still open (also
// deeper than the first array of "(" positions, which grows with the depth), and the last
// token when no form is open.
TEST(Lex_Position, EndOfInputChargedToWhatIsOpen)
{
    const struct { std::string text; bool extended; const char* end; } cases[] = {
        {"(design a\n  (node \"abc\n", false, "2:9"},
        {"(design a\n  (cell b (port\n   c) ", false, "2:3"},
        {"(design a\n  (cell b (", false, "2:11"},
        {"((a", false, "1:2"},
        {"(a 'open", true, "1:4"},
        {"(a b)\n c", false, "2:2"},
        {Repeat("(a\n", 300), false, "300:1"},
    };
    Grammar g = NetlistGrammar();
    for (const auto& row : cases) {
        Components c(g.get(), 0, row.extended);
        c.SetFile(row.text);
        while (c.lexer.Gettok() == 1) {
        }
        EXPECT_TRUE(c.lexer.InputEnded()) << row.text;
        EXPECT_EQ(row.end, At(c.lexer.EndPosition())) << "text: " << row.text;
    }
}
