// The compiler's names (built-in kinds, declared names, quoted literals) and the lexical
// settings a grammar states.
#include <gtest/gtest.h>

#include "core/type_names.h"
#include "support/test_grammars.h"

using namespace zeltest;

using Lines = std::vector<std::string>;

// "<row name> <type>" of the row GetKeywordId gives for name, or "-1".
static std::string RowOf(CZelGrammar& g, const char* name)
{
    const int k = g.GetKeywordId(name);
    if (k < 0)
        return "-1";
    const zelKeywordS& row = g.GetDescriptor()->kwTable[k];
    return std::string(row.name) + " " + zel::KeywordTypeShortName(row.type);
}

// A declared name takes the bare spelling from a built-in kind, whose row is then named in
// angle brackets; a quoted name is a literal of its own beside a form of that name; a
// literal statement beside a form of the same name is refused and says what to write.
TEST(Grammar_Names, BuiltinSpellingsDeclaredNamesAndQuotedLiterals)
{
    using Probes = std::vector<std::pair<const char*, const char*>>;
    const struct { const char* grammar; Lines errors; Probes rows; } cases[] = {
        {"goal a\nform a = string* integer* ;\nform string = <string> ;\nform integer = <integer> ;", {},
         {{"string", "string FORM"}, {"<string>", "<string> STRTOK"}, {"integer", "integer FORM"},
          {"<integer>", "int INTTOK"}, {"int", "int INTTOK"}}},
        {"goal a\nform a = hide? \"hide\"? word ;\nform hide = YES ;", {},
         {{"hide", "hide FORM"}, {"\"hide\"", "hide LIT"}, {"<word>", "word WORDTOK"},
          {"\"yes\"", "YES LIT"}, {"\"string\"", "-1"}}},
        {"goal a\nform a = <word> WORD \"string\" ;\nvalue int = real ;\nvalue w = word ;", {},
         {{"WORD", "WORD LIT"}, {"<word>", "<word> WORDTOK"}, {"\"string\"", "string LIT"},
          {"<string>", "<string> STRTOK"}, {"int", "int REALTOK"}, {"<int>", "<int> INTTOK"},
          {"w", "w WORDTOK"}}},
        {"goal a\nform a = word pin:name? ;\nform word = ;\nform pin:name = ;", {},
         {{"word", "word FORM"}, {"<word>", "-1"}, {"pin:name", "pin:name FORM"}}},
        {"goal a\nform a = <word> ;\nchoice word = A ;", {}, {{"word", "word COMPOSITE"}, {"<word>", "<word> WORDTOK"}}},
        {"goal a\nform a = ;\nliteral hide ;\nform hide = ;",
         {"line 4: \"hide\" is both a form and a literal: drop it from the literal statement and write \"hide\" in "
          "quotes where the literal is meant"}, {}},
        {"goal a\nform a = ;\nvalue hide = int ;\nliteral HIDE ;",
         {"line 4: \"HIDE\" is both a value and a literal: drop it from the literal statement and write \"HIDE\" in "
          "quotes where the literal is meant"}, {}},
        {"goal string\nform a = <foo> <STRING> ;\nform <word> = ;",
         {"line 3: \"<word>\" cannot be declared: angle brackets are kept for the built-in kinds",
          "line 1: goal \"string\" is not a form", "line 2: unknown keyword \"<foo>\""}, {}},
    };
    for (const auto& c : cases) {
        CZelGrammar g;
        EXPECT_EQ(static_cast<int>(c.errors.size()), g.Compile(c.grammar)) << c.grammar;
        EXPECT_EQ(c.errors, Strings(g.GetErrors())) << c.grammar;
        for (const auto& [name, row] : c.rows)
            EXPECT_EQ(row, RowOf(g, name)) << c.grammar << " / " << name;
    }
}

// Forms named like the built-in kinds hold typed values; a bare word of a name that is also
// a form is the literal, and only "(" and the name open the form. Both read back as
// written, under both rule sets and both engines.
TEST(Grammar_Names, TypedValueFormsAndBareFlagReadBack)
{
    CZelGrammar g;
    ASSERT_EQ(0, g.Compile("goal design\nform design = ident (string | integer | real | hide | \"hide\")* ;\n"
                           "form string = <string> ;\nform integer = int ;\nform real = <real> ;\n"
                           "form hide = yes | no ;\nliteral yes no ;"))
        << testing::PrintToString(Strings(g.GetErrors()));
    const std::string text = "(design d (string \"abc\") (integer 5) hide (real 1.5) (hide yes) HIDE (string \"\"))";
    const std::string shape = "(design d (string \"abc\") (integer 5) hide (real 1.500000) (hide yes) hide (string \"\"))";
    for (int setting = 0; setting < 4; ++setting) {
        const int engine = setting & 1, extended = setting >> 1;
        RecordingParser p(g.GetDescriptor(), 4, 65535, 0, extended);
        EXPECT_EQ(0, ParseText(p, text, engine)) << testing::PrintToString(p.reports);
        EXPECT_EQ(shape, Shapes(p)) << setting;
        RecordingParser again(g.GetDescriptor(), 4, 65535, 0, extended);
        EXPECT_EQ(0, ParseText(again, WrittenList(p), engine)) << WrittenList(p);
        EXPECT_EQ(shape, Shapes(again)) << setting;
    }
    RecordingParser p(g.GetDescriptor());
    EXPECT_NE(0, ParseText(p, "(design d (hide))"));  // the form still needs its content
}

static std::string Source(CZelGrammar& g)
{
    testing::internal::CaptureStdout();
    g.WriteSource(stdout, "p", "test");
    return testing::internal::GetCapturedStdout();
}

// The settings statements, their defaults and their errors; "zel gen" writes the settings
// only for a grammar that states any (their values: the generated-header test).
TEST(Grammar_Settings, StatementsAccessorsErrorsAndSource)
{
    const struct { const char* settings; Lines errors; int escape, extended, options; } cases[] = {
        {"", {}, 0, 0, 0},
        {"rules extended ;\nrules extended ;", {}, 0, 1, 0},
        {"escape \"\\\" ;\nrules plain ;", {}, '\\', 0, 0},
        {"option quote-opens-string ;\noption escape-escapes quote-opens-string ;", {}, 0, 0, 3},
        {"rules fancy ;\nrules plain ;\nrules extended ;", {"line 1: rules takes plain or extended, not \"fancy\"",
         "line 3: rules already set to plain"}, 0, 0, 0},
        {"escape \"ab\" ;\nescape \"'\" ;\nescape none ;",
         {"line 1: escape takes one character in double quotes, or none, not \"ab\"", "line 3: escape already set to \"'\""},
         0, 0, 0},
        {"option fast ;\noption ;\noption escape-escapes", {
         "line 1: option takes quote-opens-string or escape-escapes or keep-keyword-case, not \"fast\"",
         "line 2: option takes quote-opens-string or escape-escapes or keep-keyword-case, not \";\"",
         "line 4: option takes quote-opens-string or escape-escapes or keep-keyword-case, not \"goal\""}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        CZelGrammar g;
        ASSERT_EQ(0, g.Compile("goal a\nform a = ;\nrules extended ;\nescape \"x\" ;\noption escape-escapes ;"));
        const std::string grammar = std::string(c.settings) + "\ngoal a\nform a = ;";
        EXPECT_EQ(static_cast<int>(c.errors.size()), g.Compile(grammar.c_str())) << c.settings;
        EXPECT_EQ(c.errors, Strings(g.GetErrors())) << c.settings;
        EXPECT_EQ((std::vector<int>{c.escape, c.extended, c.options}),
                  (std::vector<int>{g.GetEscapeChar(), g.GetExtendedSyntax(), g.GetLexicalOptions()}))
            << c.settings;
        EXPECT_EQ(c.errors.empty() && *c.settings, Source(g).find("p_escape") != std::string::npos) << c.settings;
    }
}
