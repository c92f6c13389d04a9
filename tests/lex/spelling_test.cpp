// Identifiers and strings as the writer spells them, read back by the tokenizer under the
// settings they were written for, whatever the writer puts after them.
#include <gtest/gtest.h>

#include "support/components.h"

using namespace zeltest;

namespace {

// A parser of the given settings holding "(design top (net n \"s\"))" under the netlist
// grammar, whose literal keywords are INPUT, OUTPUT and INOUT (and "" and ")", which hold
// no letters).
struct Spelling {
    Spelling(char escape, int extended, int options = 0)
        : p(g.get(), 4, 65535, escape, extended, options), lex(g.get(), escape, extended, 64, options)
    {
        EXPECT_EQ(0, ParseLine(p, "(design top (cell c (net n \"s\")))"));
        ident = p.GetGoalAt(0)->FindObj(NK_IDENT);
        string = p.GetGoalAt(0)->FindObj(NK_CELL)->FindObj(NK_NET)->FindObj(NK_STRING);
    }
    // The text the stream writer writes for node alone, without the line break that the
    // wrapping column may put in front.
    std::string Written(const CZelOid* node)
    {
        const std::string text = StreamText(p, node, 0, 0);
        return text[0] == '\n' ? text.substr(1) : text;
    }
    Grammar g = NetlistGrammar();
    RecordingParser p;
    Components lex;  // reads the written text under the same settings
    const CZelOid* ident;
    const CZelOid* string;
};

// What the writer puts after an item: a next value, ")", the line break of a next form or a
// wrap, or the end of the text.
const char* const kFollowers[] = {"  1", ")", "\n (cell", ""};

}  // namespace

// Rows: text, escape character, its spelling under the plain and the extended rules (null:
// refused, the node keeps its value). Every spelling reads back as the identifier.
TEST(Lex_Spelling, IdentifiersReadBackAsThemselves)
{
    const struct { const char* text; char escape; const char* plain; const char* extended; } rows[] = {
        {"top_1", 0, "top_1", "top_1"}, {"1", 0, "&1", "'1'"}, {"-7", 0, nullptr, "'-7'"}, {"1E5", 0, "1E5", "'1E5'"},
        {"a-1", 0, nullptr, "a-1"}, {"a-.5", 0, "&a-.5", "a-.5"}, {"a b", 0, nullptr, "'a b'"}, {" x", 0, nullptr, nullptr},
        {"a\nb", 0, nullptr, nullptr}, {"&x", 0, "&&x", "&x"}, {"'q", 0, "'q", nullptr}, {";c", 0, "&;c", "';c'"},
        {"a;b#", 0, nullptr, "a;b#"}, {"InOut", 0, nullptr, "InOut"}, {"", 0, nullptr, "''"},
        {"a b\\", '\\', nullptr, nullptr}, {"it\\'s so", '\\', nullptr, "'it\\'s so'"}, {"\xe9t\xe9", 0, nullptr, "\xe9t\xe9"},
    };
    for (const auto& row : rows)
        for (int extended = 0; extended < 2; ++extended) {
            Spelling s(row.escape, extended);
            const char* spelling = extended ? row.extended : row.plain;
            const std::string where = std::string("[") + row.text + "] extended " + std::to_string(extended);
            if (!spelling) {
                EXPECT_EQ(0, s.ident->ReplaceData(row.text)) << where;
                EXPECT_STREQ("top", s.ident->GetIdent()) << where;
                continue;
            }
            if (s.ident->ReplaceData(row.text) != 1) {
                ADD_FAILURE() << where << " refused";
                continue;
            }
            const std::string written = s.Written(s.ident);
            EXPECT_EQ(std::string("  ") + spelling, written) << where;
            for (const char* follower : kFollowers) {
                s.lex.SetText(written + follower);
                const std::string token = s.lex.Next();
                const bool literal = token.compare(0, 9, "LITIDENT:") == 0;
                EXPECT_EQ(row.text, token.substr(token.find(':') + 1)) << where << " before [" << follower << "]";
                EXPECT_TRUE(token.compare(0, 6, "IDENT:") == 0 || (extended && literal)) << where << " " << token;
            }
        }
}

// Rows: text, escape character, rules (0 plain, 1 extended), whether a string of it can be
// written, zelLexOption bits; what can be written reads back whole whatever follows.
TEST(Lex_Spelling, StringsWithoutEscapingReadBackOrAreRefused)
{
    const int kQuote = zelLEX_QUOTE_OPENS_STRING, kEsc = zelLEX_ESCAPE_ESCAPES;
    const struct { const char* text; char escape; int extended; bool writable; int options; } rows[] = {
        {"a b (c) 'd' ;e", 0, 0, true, 0}, {"", 0, 1, true, 0}, {"a\"b", 0, 0, false, 0}, {"a\\\"b", '\\', 0, true, 0},
        {"ab\\", '\\', 0, false, 0}, {"ab\\", 0, 0, true, 0}, {" ab", 0, 1, false, 0}, {"a )", 0, 1, true, 0},
        {" ab", 0, 1, true, kQuote}, {")x", 0, 1, true, kQuote}, {"C:\\\\", '\\', 0, false, 0},
        {"C:\\\\", '\\', 1, true, kEsc}, {"C:\\", '\\', 0, false, kEsc}, {"a\\\\\"b", '\\', 0, false, kEsc},
        {"a\\\\\\\"b", '\\', 0, true, kEsc},
    };
    for (const auto& row : rows) {
        Spelling s(row.escape, row.extended, row.options);
        const std::string where = std::string("[") + row.text + "]";
        ASSERT_EQ(row.writable ? 1 : 0, s.string->ReplaceData(row.text)) << where;
        if (!row.writable) {
            EXPECT_STREQ("s", s.string->GetStrval()) << where;
            continue;
        }
        const std::string written = s.Written(s.string);
        for (const char* follower : kFollowers) {
            s.lex.SetText(written + follower);
            EXPECT_EQ(std::string("STR:") + row.text, s.lex.Next()) << where << follower;
        }
    }
}
