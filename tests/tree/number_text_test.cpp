// Number tokens that are not well formed, and reals beyond the double range, keep the value
// their conversion gives and are named in a warning; the parse still succeeds.
#include <gtest/gtest.h>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

// The value that token gives where the grammar takes an integer ("int"), or else a real
// ("real"), then the first word of each report; "-" when neither takes the token.
std::string Read(const std::string& token, int extended, bool realOnly)
{
    const std::string texts[] = {"(design top (version " + token + " 0 0))",
                                 "(design top (cell c (net n " + token + ")))"};
    for (int kind = realOnly ? 1 : 0; kind < 2; ++kind) {
        Grammar g = NetlistGrammar();
        RecordingParser p(g.get(), 4, 100, 0, extended);
        if (ParseLine(p, texts[kind]) != 0)
            continue;
        const CZelOid* design = p.GetGoalAt(0);
        char value[64];
        if (kind == 0)
            std::snprintf(value, sizeof value, "int %d", design->FindObj(NK_VERSION)->GetFirstObj()->GetIntval());
        else
            std::snprintf(value, sizeof value, "real %g",
                          design->FindObj(NK_CELL)->FindObj(NK_NET)->GetFirstObj()->GetNextObj()->GetRealval());
        std::string out = value;
        for (const std::string& r : p.reports)
            out += " " + r.substr(r.find(':') + 1, r.find(' ') - r.find(':') - 1);
        return out;
    }
    return "-";
}

}  // namespace

// Rows: token, then what it reads as under the plain and under the extended rules.
TEST(Tree_NumberText, WarningsNameTokensThatAreNoWellFormedNumber)
{
    const struct { const char* token; const char* plain; const char* extended; } cases[] = {
        {"+5", "int 5", "int 5"}, {"+", "int 0 Number", "int 0 Number"}, {"1-2", "int 1 Number", "int 1 Number"},
        {"99999999999-", "int 2147483647 Number Integer", "int 2147483647 Number Integer"},
        {".5", "real 0.5", "real 0.5"}, {"1.2.3", "real 1.2 Number", "real 1.2 Number"},
        {"1E5", "-", "real 100000"}, {"1E-400", "-", "real 0 Real"}, {"1E999", "-", "real 1.79769e+308 Real"},
        {"1E5E5", "-", "real 100000 Number"}, {"1E-400.5", "real 0 Number Real", "real 0 Number Real"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.plain, Read(c.token, 0, false)) << c.token;
        EXPECT_EQ(c.extended, Read(c.token, 1, false)) << c.token << " (extended)";
    }
    // Integer tokens where the grammar takes a real.
    const struct { const char* token; const char* read; } reals[] = {
        {"-7", "real -7"}, {"12+", "real 12 Number"}};
    for (const auto& c : reals)
        for (int extended = 0; extended < 2; ++extended)
            EXPECT_EQ(c.read, Read(c.token, extended, true)) << c.token;
}

// The warnings come from the file parse too, with the line of the token; nodes that editing
// makes by keyword take no warning for the text the last parse left behind.
TEST(Tree_NumberText, FileParseWarnsAndEditingByKeywordDoesNot)
{
    Grammar g = NetlistGrammar();
    RecordingParser p(g.get());
    EXPECT_EQ(0, ParseText(p, "(design top\n  (version + 1 2)\n  (cell c (net n 1.2.3)))\n"));
    EXPECT_EQ((std::vector<std::string>{"2@2:Number \"+\" is not well formed; the value of its leading part is kept.\n",
                                        "2@3:Number \"1.2.3\" is not well formed; the value of its leading part is kept.\n"}),
              p.reports);
    p.reports.clear();
    const CZelOid* net = p.GetGoalAt(0)->FindObj(NK_CELL)->FindObj(NK_NET);
    ASSERT_NE(nullptr, net->AppRealtok(2.5));
    EXPECT_TRUE(p.reports.empty());
}
