#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/test_access.h"
#include "support/test_grammars.h"

using namespace zeltest;
using A = CZelTestAccess;

// A recording parser opened on a file whose first form is on line 3, with its keyword
// read: reports carry line 3 and the keyword index is loaded.
class Diag_Report : public ::testing::Test {
protected:
    void SetUp() override { Restart(); }
    void TearDown() override { std::remove(file.c_str()); }
    // Opens the file afresh, which starts a new parse: count, cap and error state reset.
    void Restart()
    {
        p.Open(file.c_str(), "r");
        A::Gettok(p);
        p.output.clear();
        p.reports.clear();
    }
    void Report(int code, int arg, const char* token = "tok")
    {
        A::SetToken(p, token);
        p.ReportError(zelErrCode(code), arg);
    }
    Grammar g = NetlistGrammar();
    RecordingParser p{g.get()};
    std::string file = TempFile("\n\n(design top)\n");
};

TEST_F(Diag_Report, TextsPrefixesAndCounts)
{
    const std::string E = "Error: Line 3: ", W = "Warning: Line 3: ";
    const struct { int code, arg; const char* token; std::string shown; int count, err; } cases[] = {
        {2, 1, "tok", E + "Missing $GOAL form: design.", 1, 2},
        {4, 0, "tok", E + "Error opening database file: " + file + "\n", 1, 0},
        {6, 4, "bogus", E + "Unrecognized form \"bogus\".\n" + E +
                            "Unexpected token \"bogus\" within construct \"version\".\n", 2, 0},
        {6, 4, "design", E + "Unexpected token \"design\" within construct \"version\".\n", 1, 0},
        {7, 0, "tok", E + "Unmatched quotes.\n", 1, 0},
        {9, 3, "tok", "Note: Line 3: Skipping rest of form: ident.\n", 0, 0},
        {10, 4, "xyz", E + "Expecting: FORM version (Token=\"xyz\").", 1, 0},
        {11, 0, "tok", W + "Parsing ended before end of file.\n", 0, 0},
        {12, 4, "tok", E + "Unexpected end of form \")\".\n", 1, 0},
        {13, 5, "tok", W + "Keyword \"cell\" can occur only once within the current form.\n", 1, 0},
        {13, -1, "tok", W + "Keyword \"\" can occur only once within the current form.\n", 1, 0},
        {14, 4, "xyz", E + "Expecting end of form \")\" (Token=\"xyz\").\n", 2, 0},
        {15, 0, "bogus", E + "Unrecognized form \"bogus\".\n", 1, 0},
        {15, 0, "DESIGN", E + "Unrecognized form \"DESIGN\".\n", 1, 0},  // keys compare exactly
        {15, 0, "design", "", 0, 0},
        {15, 0, "INPUT", "", 0, 0},
        {15, 0, "a%s%d%n", E + "Unrecognized form \"a%s%d%n\".\n", 1, 0},
        {16, 0, "tok", E + "\n ZEL Parser Error: Internal stack underflow. (-1)\n", 1, 16},
        {19, 0, "tok", E + "Unidentified syntax error.\n", 1, 0},
        {20, 0, "9999999999", W + "Integer \"9999999999\" is out of range; the nearest 32-bit value is kept.\n", 0, 0},
        {0, 4, "tok", "", 1, 0}, {1, 4, "tok", "", 1, 0}, {3, 4, "tok", "", 1, 0},
        {18, 4, "tok", "", 1, 0}, {-1, 4, "tok", "", 1, 0}, {99, 4, "tok", "", 1, 0},
    };
    for (const auto& c : cases) {
        Restart();
        Report(c.code, c.arg, c.token);
        EXPECT_EQ(c.shown, p.output) << "code " << c.code << " token " << c.token;
        EXPECT_EQ(c.count, A::ErrorCount(p)) << "code " << c.code << " token " << c.token;
        EXPECT_EQ(c.err, p.GetErrno()) << "code " << c.code;
    }
}

TEST_F(Diag_Report, MissingGoalOnceAndOverflowIndex)
{
    Report(2, 1);
    Report(2, 1);  // the error state is already 2: counted, not shown
    EXPECT_EQ(1u, p.reports.size());
    EXPECT_EQ(2, A::ErrorCount(p));
    A::Push(p, 1);
    A::Push(p, 3);
    p.output.clear();
    Report(17, 0);
    EXPECT_EQ("Error: Line 3: \n ZEL Parser Error: Internal stack overflow. (1)\n", p.output);
    EXPECT_EQ(17, p.GetErrno());
}

TEST_F(Diag_Report, CapAfterTwentyCounted)
{
    for (int code : {19, 9, 11, 15, 2}) {  // a note, a warning or a take-back trips it too
        Restart();
        for (int i = 0; i < 20; ++i)
            Report(19, 0);
        EXPECT_EQ(20u, p.reports.size());
        Report(code, 3, "design");
        Report(19, 0);
        EXPECT_EQ(20u, p.reports.size()) << code;
        EXPECT_EQ(21, A::ErrorCount(p)) << code;
        EXPECT_EQ(1, A::ReportsOff(p)) << code;
        EXPECT_EQ(0, p.GetErrno()) << code;
    }
    p.ReinitParser();  // the cap applies per parse
    Report(19, 0);
    EXPECT_EQ(21u, p.reports.size());

    // With 19 counted, code 6 passes the cap itself; its nested code 15 trips it.
    Restart();
    for (int i = 0; i < 19; ++i)
        Report(19, 0);
    p.reports.clear();
    Report(6, 4, "bogus");
    EXPECT_EQ(std::vector<std::string>{"3@3:Unexpected token \"bogus\" within construct \"version\".\n"},
              p.reports);
    EXPECT_EQ(21, A::ErrorCount(p));
}

TEST_F(Diag_Report, PrintErrorPrefixes)
{
    const struct { int severity; const char* text; const char* shown; } cases[] = {
        {0, "plain", "plain"}, {1, "n", "Note: Line 7: n"}, {2, nullptr, "Warning: Line 7: "},
        {3, "100%s%n", "Error: Line 7: 100%s%n"}, {9, nullptr, ""}};
    for (const auto& c : cases) {
        p.output.clear();
        p.PrintError(zelSevCode(c.severity), 7, c.text);
        EXPECT_EQ(c.shown, p.output) << c.severity;
    }
}

TEST_F(Diag_Report, BaseHooksAreSilentAndSafe)
{
    CZelParser base;
    base.ReportError(zelERR_EXPECTING, 4);  // no grammar, no Open yet
    base.ReportError(zelERR_UNEXPECTED_TOKEN, -1);
    base.WriteMsg("%s", std::string(5000, 'x').c_str());
    EXPECT_EQ(3, A::ErrorCount(base));
    EXPECT_EQ(0, base.GetErrno());
}
