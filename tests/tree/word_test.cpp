// Word values: any bare word kept exactly as written, its spelling when written, and the
// texts a word node takes.
#include <gtest/gtest.h>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

// (rec w*) holds words only; (mix pick*) an integer or a word each, the integer first.
struct WordGrammar : CZelGrammar {
    WordGrammar()
    {
        EXPECT_EQ(0, Compile("goal rec | mix ; form rec = w* ; form mix = pick* ; choice pick = int | w ;"
                             "value w = word ; literal hide ;"));
    }
    zelParserS* get() { return GetDescriptor(); }
};

// The names of the goal's children, "|"-separated, words marked "w:".
std::string Names(const CZelParser& p)
{
    std::string out;
    const char* name = nullptr;
    for (const CZelOid* n = p.GetGoalAt(0)->GetFirstName(&name); n; n = n->GetNextName(&name))
        out += std::string(out.empty() ? "" : "|") + (n->GetObjType() == zelKW_WORDTOK ? "w:" : "") + name;
    return out;
}

}  // namespace

// Rows: input, then under the plain and the extended rules (null: as under the plain) the
// words read and the text the writer gives them. Every text read back gives the same words
// and the same text again.
TEST(Tree_Word, KeepsEveryBareWordAndWritesItBack)
{
    const struct { const char* input; const char* plain; const char* plainText; const char* extended; const char* extendedText; } rows[] = {
        {"5E258953 2397562737 1234-5678 4c5af0f2-7fc3-11e9 a-1 - 1.",
         "w:5E258953|w:2397562737|w:1234-5678|w:4c5af0f2-7fc3-11e9|w:a-1|w:-|w:1.",
         "  5E258953  2397562737  1234-5678  4c5af0f2-7fc3-11e9  a-1  -  1.", nullptr, nullptr},
        // "&" is no part of a word under the plain rules: a word that would read as another
        // kind of token without it keeps it when written.
        {"&1 &x &- & &&y", "w:1|w:x|w:-|w:|w:&y", "  &1  x  &-  &  &&y", "w:&1|w:&x|w:&-|w:&|w:&&y", "  &1  &x  &-  &  &&y"},
        {"'1' 'a b' hide HIDE", "w:'1'|w:'a|w:b'|w:hide|w:HIDE", "  '1'  'a  b'  hide  HIDE", "w:1|w:a b|w:hide|w:HIDE",
         "  '1'  'a b'  hide  HIDE"},
    };
    WordGrammar g;
    for (const auto& row : rows)
        for (int extended = 0; extended < 2; ++extended) {
            const std::string where = std::string(row.input) + (extended ? " extended" : " plain");
            RecordingParser p(g.get(), 4, 65535, 0, extended);
            ASSERT_EQ(0, ParseLine(p, std::string("(rec ") + row.input + ")")) << where;
            EXPECT_TRUE(p.reports.empty()) << where << ": " << p.reports[0];
            const bool own = extended && row.extended;
            EXPECT_EQ(own ? row.extended : row.plain, Names(p)) << where;
            const std::string written = WrittenList(p);
            EXPECT_EQ(std::string("\n(rec") + (own ? row.extendedText : row.plainText) + ")", written) << where;
            RecordingParser back(g.get(), 4, 65535, 0, extended);
            ASSERT_EQ(0, ParseLine(back, written)) << where;
            EXPECT_EQ(Names(p), Names(back)) << where;
            EXPECT_EQ(written, WrittenList(back)) << where;
        }
}

// Rows: the new text of the word after (mix 1 &1), whether it is taken under the plain and
// the extended rules, and how the form is then written. A text that reads as an integer is
// written marked, so that it reads back as the word and not as the integer before it.
TEST(Tree_Word, ReplaceDataTakesTextsThatReadBackAsTheWord)
{
    const struct { const char* text; const char* plain; const char* extended; } rows[] = {
        {"abc", "  1  abc", "  1  abc"},     {"7", "  1  &7", "  1  '7'"},    {"", "  1  &", "  1  ''"},
        {"a b", nullptr, "  1  'a b'"},       {"x(y", nullptr, "  1  'x(y'"}, {"a\nb", nullptr, nullptr},
        {";c", "  1  &;c", "  1  ';c'"},      {" x", nullptr, nullptr},
    };
    WordGrammar g;
    for (const auto& row : rows)
        for (int extended = 0; extended < 2; ++extended) {
            const std::string where = std::string("[") + row.text + (extended ? "] extended" : "] plain");
            RecordingParser p(g.get(), 4, 65535, 0, extended);
            ASSERT_EQ(0, ParseLine(p, extended ? "(mix 1 '1')" : "(mix 1 &1)"));
            const CZelOid* word = Child(p.GetGoalAt(0), 1);
            const char* expected = extended ? row.extended : row.plain;
            EXPECT_EQ(expected ? 1 : 0, word->ReplaceData(row.text)) << where;
            EXPECT_STREQ(expected ? row.text : "1", word->GetName()) << where;
            EXPECT_EQ(std::string("\n(mix") + (expected ? expected : extended ? "  1  '1'" : "  1  &1") + ")", WrittenList(p))
                << where;
        }
}

// A word is no identifier and no number; its name is its text. An identifier text goes
// where the rule has a word; a text no word carries is refused.
TEST(Tree_Word, GettersAndIdentifiersByText)
{
    WordGrammar g;
    RecordingParser p(g.get());
    ASSERT_EQ(0, ParseLine(p, "(rec 42)"));
    const CZelOid* rec = p.GetGoalAt(0);
    const CZelOid* word = rec->GetFirstObj();
    EXPECT_EQ(zelKW_WORDTOK, word->GetObjType());
    EXPECT_STREQ("42", word->GetName());
    EXPECT_EQ(nullptr, word->GetIdent());
    EXPECT_EQ(0, word->GetIntval());
    EXPECT_EQ(0.0, word->GetRealval());
    EXPECT_EQ(nullptr, rec->GetFirstIdent(static_cast<const char**>(nullptr)));
    EXPECT_STREQ("zelKW_WORDTOK", p.KwtypeToStr(zelKW_WORDTOK));
    EXPECT_STREQ("", p.KwtypeToStr(zelKW_LITIDENT));
    const CZelOid* appended = rec->AppIdent("hide");
    ASSERT_NE(nullptr, appended);
    EXPECT_EQ(zelKW_WORDTOK, appended->GetObjType());
    EXPECT_EQ(nullptr, rec->AppIdent("a b"));
    ASSERT_NE(nullptr, word->InsIdent("5E2"));
    EXPECT_EQ("w:5E2|w:42|w:hide", Names(p));
}
