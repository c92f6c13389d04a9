// Token streams under the plain and extended lexical rules.
#include <gtest/gtest.h>

#include "support/components.h"

using namespace zeltest;

// Rows: text, rules (0 plain, 1 extended, 2 both), escape, the tokens until Gettok fails, each report after "!".
TEST(Lex_Tokenizer, TokenStreamsUnderBothRules)
{
    const struct { const char* text; int rules; char escape; const char* tokens; } cases[] = {
        {"(POINT 1 2.5 \"a b\" name)\n()", 2, 0, "FORM:POINT|INT:1|REAL:2.5|STR:a b|IDENT:name|EOFORM:)|EMPTY:)"},
        {"( kw x)(\n  kw)", 0, 0, "FORM:kw|IDENT:x|EOFORM:)|FORM:kw|EOFORM:)"},
        {"; comment\n# comment\n   \n\t\nx;y #z\nq#r\n", 0, 0, "IDENT:x;y|IDENT:q#r"},
        {"\"a\\\"b\" c", 0, '\\', "STR:a\\\"b|IDENT:c"}, {"\"a\\\"b\"", 0, 0, "STR:a\\|DUMMY:b\""},
        {"((A 1))", 1, 0, "FORM:ch|FORM:A|INT:1|EOFORM:)|EOFORM:)"}, {"('x')", 1, 0, "FORM:x|EOFORM:)"},
        {"'a b' 'ab'cd ' x", 1, 0, "IDENT:a b|IDENT:abcd|IDENT:'|IDENT:x"}, {"'a\\'b'", 1, '\\', "IDENT:a\\'b"},
        {"'abc' x", 0, 0, "DUMMY:'abc'|IDENT:x"}, {"1 'abc\nx\n", 1, 0, "INT:1|IDENT:abc|IDENT:x!3@1:Unmatched quotes.\n"},
        {"&x &a- & y", 0, 0, "IDENT:x|DUMMY:a-|LIT:|IDENT:y"},  // "&" alone: the empty word, keyword 0's key
        {"42 3.14 . 1E5 a- input InPuT design", 0, 0, "INT:42|REAL:3.14|REAL:.|IDENT:1E5|DUMMY:a-|LIT:input|LIT:InPuT|IDENT:design"},
        {"1E5 a- InPuT", 1, 0, "REAL:1E5|IDENT:a-|LITIDENT:InPuT"},
    };
    Grammar g = NetlistGrammar();
    for (const auto& row : cases)
        for (int extended = row.rules == 1; extended <= (row.rules > 0); ++extended) {  // rules 0: plain only, 1: extended only
            Components c(g.get(), row.escape, extended);
            c.SetFile(row.text);
            std::string out;
            for (std::string t = c.Next(); t.compare(0, 5, "fail/") != 0; t = c.Next())
                out += (out.empty() ? "" : "|") + t;
            for (const std::string& r : c.hooks.reports)
                out += "!" + r;
            EXPECT_EQ(row.tokens, out) << "text: " << row.text << " extended: " << extended;
        }
}

// Each token with the form depth and the line counter after it. A string may be longer than a
// line and span lines. The end of input is sticky; the counter then stands one past the six
// lines read. "(" and its keyword count as two tokens, as do "(" and ")".
TEST(Lex_Tokenizer, DepthTokenCountAndLineCounter)
{
    Grammar g = NetlistGrammar();
    Components c(g.get());
    const std::string z(5000, 'z'), y(5000, 'y');
    c.SetFile("(POINT 1 2.5 \"a b\" name)\n()\n(a \"x\ny\" b)\n\"" + z + "\n" + y + "\" c");
    std::string out;
    for (int i = 0; i < 15; ++i) {
        const std::string cut = c.Next();
        out += cut + "/" + std::to_string(c.lexer.Depth()) + "@" + std::to_string(c.lexer.LineNo()) + " ";
    }
    EXPECT_EQ("FORM:POINT/1@1 INT:1/1@1 REAL:2.5/1@1 STR:a b/1@1 IDENT:name/1@1 EOFORM:)/0@1 EMPTY:)/0@2 FORM:a/1@3 STR:x\ny/1@4 "
              "IDENT:b/1@4 EOFORM:)/0@4 STR:" + z + "\n" + y + "/0@6 IDENT:c/0@6 fail/EOF/0@7 fail/EOF/0@7 ", out);
    EXPECT_EQ(16, c.lexer.TokenCount());
}

// Text input cut off inside a quote or a string is a failed read, not the end of input; the
// end of the text is the end of input, and that is sticky.
TEST(Lex_Tokenizer, TextInputEndsAtEndOfText)
{
    Grammar g = NetlistGrammar();
    Components c(g.get(), 0, true);
    std::string out;
    for (const char* text : {"x 'y", "(a \"open", "z"}) {
        c.SetText(text);
        out += c.Next() + " ";
        out += c.Next() + " ";
    }
    EXPECT_EQ("IDENT:x fail/IDENT FORM:a fail/FORM IDENT:z fail/EOF fail/EOF", out + c.Next());
}

// Rows: text, rules (0 plain, 1 extended), escape, zelLexOption bits, the tokens until
// Gettok fails. A quote that opens a string is not cut off before a space or ")"; with
// escapes escaping themselves a quote ends a string or apostrophe text after an even run.
TEST(Lex_Tokenizer, LexicalOptions)
{
    const int kQuote = zelLEX_QUOTE_OPENS_STRING, kEsc = zelLEX_ESCAPE_ESCAPES;
    const struct { const char* text; int extended; char escape; int options; const char* tokens; } cases[] = {
        {"\" x\" \")\" y", 1, 0, 0, "IDENT:\"|IDENT:x\"|IDENT:\"|EOFORM:)|IDENT:\"|IDENT:y"},
        {"\" x\" \")\" y", 1, 0, kQuote, "STR: x|STR:)|IDENT:y"},
        {"\"C:\\\\\" x", 0, '\\', kEsc, "STR:C:\\\\|IDENT:x"},
        {"\"C:\\\\\" x\"", 0, '\\', 0, "STR:C:\\\\\" x"},
        {"\"say \\\"hi\\\"\" z", 1, '\\', kEsc | kQuote, "STR:say \\\"hi\\\"|IDENT:z"},
        {"\"a\\\\\\\"b\" z", 0, '\\', kEsc, "STR:a\\\\\\\"b|IDENT:z"},
        {"'C:\\\\' x 'it\\'s' y", 1, '\\', kEsc, "IDENT:C:\\\\|IDENT:x|IDENT:it\\'s|IDENT:y"},
        {"\"a\r\nb\"\r\n(x)\r\n", 0, 0, 0, "STR:a\r\nb|FORM:x|EOFORM:)"},
    };
    Grammar g = NetlistGrammar();
    for (const auto& row : cases) {
        Components c(g.get(), row.escape, row.extended != 0, 64, row.options);
        c.SetFile(row.text);
        std::string out;
        for (std::string t = c.Next(); t.compare(0, 5, "fail/") != 0; t = c.Next())
            out += (out.empty() ? "" : "|") + t;
        EXPECT_EQ(row.tokens, out) << "text: " << row.text << " options: " << row.options;
    }
}
