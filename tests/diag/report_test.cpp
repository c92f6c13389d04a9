// Error reports: message texts, severities, counts, error states and the report cap.
#include <gtest/gtest.h>

#include "core/parser_access.h"
#include "support/components.h"

using namespace zeltest;

// A reporter over a recording parser's hooks; Restart resets count, cap and error state.
class Diag_Report : public ::testing::Test {
protected:
    void Restart()
    {
        parts.reporter.Reset();
        parts.stack.Clear();
        parts.stack.Push(NR_DESIGN, nullptr, 0);
        parts.stack.Push(NR_DESIGN_NAME, nullptr, 0);  // the stack texts show top index 1
        p.output.clear();
        p.reports.clear();
    }
    void Report(int code, int arg, const char* token = "tok")
    {
        parts.lexer.SetToken(token);
        parts.reporter.Report(zelErrCode(code), arg);
    }
    Grammar g = NetlistGrammar();
    Components parts{g.get()};
    RecordingParser& p = parts.hooks;
};

// Prefixes, counts and error states; a token is shown as text, never as a format.
TEST_F(Diag_Report, TextsPrefixesAndCounts)
{
    const std::string E = "Error: Line 0: ", W = "Warning: Line 0: ", Z = E + "\n ZEL Parser Error: Internal stack ";
    const struct { int code, arg; std::string shown; int count, err; const char* token = "tok"; } cases[] = {
        {11, 0, W + "Parsing ended before end of file.\n", 0, 0},
        {15, 0, E + "Unrecognized form \"DESIGN\".\n", 1, 0, "DESIGN"}, {15, 0, "", 0, 0, "INPUT"},  // keys compare exactly
        {15, 0, E + "Unrecognized form \"a%s%d%n\".\n", 1, 0, "a%s%d%n"}, {17, 0, Z + "overflow. (1)\n", 1, 17},
        {20, 0, W + "Integer \"9999999999\" is out of range; the nearest 32-bit value is kept.\n", 0, 0, "9999999999"},
        {3, 4, "", 1, 0}, {-1, 4, "", 1, 0}, {99, 4, "", 1, 0},
    };
    for (const auto& c : cases) {
        Restart();
        Report(c.code, c.arg, c.token);
        EXPECT_EQ(c.shown, p.output) << "code " << c.code << " token " << c.token;
        EXPECT_EQ(c.count, parts.reporter.Errors()) << "code " << c.code << " token " << c.token;
        EXPECT_EQ(c.err, parts.reporter.State()) << "code " << c.code;
    }
}

// Passing a count of 20 trips the cap, even with a note, a warning or a take-back; then nothing
// more is shown or counted. Code 6 takes the 20th count itself; its nested code 15 trips it.
TEST_F(Diag_Report, CapAfterTwentyCountedAndMissingGoalOnce)
{
    const char* syntax = "3@0:Unidentified syntax error.\n";
    const struct { int before, code, arg; const char* token; const char* last; } cases[] = {
        {20, 19, 0, "tok", syntax}, {20, 9, 3, "tok", syntax}, {20, 11, 0, "tok", syntax}, {20, 2, 1, "tok", syntax}, {19, 6, 4, "bogus", "3@0:Unexpected token \"bogus\" within construct \"version\".\n"}};
    for (const auto& c : cases) {
        Restart();
        for (int i = 0; i < c.before; ++i)
            Report(19, 0);
        Report(c.code, c.arg, c.token);
        Report(19, 0);
        EXPECT_EQ(c.last, p.reports.size() == 20 ? p.reports.back() : std::to_string(p.reports.size())) << c.code;
        EXPECT_EQ(21, parts.reporter.Errors()) << c.code;
        EXPECT_EQ(0, parts.reporter.State()) << c.code;
    }
    Restart();
    Report(2, 1);
    Report(2, 1);  // the error state is already 2: counted, not shown
    EXPECT_EQ(std::vector<std::string>{"3@0:Missing $GOAL form: design."}, p.reports);
    EXPECT_EQ(2, parts.reporter.Errors());
}

TEST_F(Diag_Report, PrintErrorPrefixesAndBaseHooks)
{
    p.PrintError(zelSevCode(0), 7, "plain 100%s%n");
    p.PrintError(zelSevCode(2), 7, nullptr);
    p.PrintError(zelSevCode(9), 7, nullptr);
    EXPECT_EQ("plain 100%s%nWarning: Line 7: ", p.output);
    CZelParser base;  // the base hooks are silent, even with no grammar and no Open yet
    base.ReportError(zelERR_EXPECTING, 4);
    base.ReportError(zelERR_UNEXPECTED_TOKEN, -1);
    base.WriteMsg("%s", std::string(5000, 'x').c_str());
    EXPECT_EQ(3, zel::ParserAccess::Of(base).reporter.Errors());
}
