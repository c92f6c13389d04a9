// A name that is both a literal and a form keyword: a bare word of it is the literal, and
// only "(" and the name open the form, under both rule sets.
#include <gtest/gtest.h>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

// (top (hide)? HIDE? ")"), where "hide" is a form keyword and "HIDE" a literal one.
Grammar HideGrammar()
{
    Grammar g;
    const auto kw = [](const char* name, int type, int sem) {
        zelKeywordS k{{}, 1, type, sem};
        std::snprintf(k.name, sizeof k.name, "%s", name);
        return k;
    };
    g.keywords = {kw("", zelKW_DUMMY, 0),       kw(")", zelKW_EOFORM, 0),   kw("ident", zelKW_IDENT, 0),
                  kw("int", zelKW_INTTOK, 0),   kw("real", zelKW_REALTOK, 0), kw("string", zelKW_STRTOK, 0),
                  kw("$r", zelKW_DUMMY, 0),     kw("$GOAL", zelKW_COMPOSITE, 1), kw("top", zelKW_FORM, 2),
                  kw("hide", zelKW_FORM, 5),    kw("HIDE", zelKW_LIT, 0)};
    g.rows = {{0, 0, 0, 0, 0, nullptr},          {8, S_OPT, 0, 0, 0, nullptr},  {9, S_OPT, 0, 0, 3, nullptr},
              {10, S_OPT | S_LIT, 0, 0, 4, nullptr}, {1, S_REQ, 0, 0, 0, nullptr}, {1, S_REQ, 0, 0, 0, nullptr}};
    return g;
}

}  // namespace

TEST(Parse_LiteralAndForm, BareWordIsTheLiteralUnderBothRules)
{
    const struct { const char* text; const char* shape; } rows[] = {
        {"(top hide)", "(top HIDE)"}, {"(top (hide) hide)", "(top (hide) HIDE)"}, {"(top (hide))", "(top (hide))"}};
    Grammar g = HideGrammar();
    for (const auto& row : rows)
        for (int extended = 0; extended < 2; ++extended)
            for (int engine = 0; engine < 2; ++engine) {
                RecordingParser p(g.get(), 4, 65535, 0, extended);
                EXPECT_EQ(0, ParseText(p, row.text, engine)) << row.text << " extended " << extended;
                EXPECT_EQ(row.shape, Shapes(p)) << row.text << " extended " << extended << " engine " << engine;
            }
}
