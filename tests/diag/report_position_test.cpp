// What each shown report is about: its code, place and whether it follows on from the one
// before, as a message hook sees it through GetReport.
#include <gtest/gtest.h>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

// Keeps GetReport as each report is shown: "code@line:column" and "+" for a follow-on.
class PlaceRecorder : public RecordingParser {
public:
    using RecordingParser::RecordingParser;
    void PrintError(zelSevCode severity, int line, const char* text) override
    {
        const zelReportS r = GetReport();
        places += (places.empty() ? "" : " ") + std::to_string(r.code) + "@" + std::to_string(r.line) + ":" +
                  std::to_string(r.column) + (r.followOn ? "+" : "");
        RecordingParser::PrintError(severity, line, text);
    }
    std::string places;
};

}  // namespace

// Rows: input, each shown report under the recursive and the iterative engine. A report is
// about the token it names; the end of the input inside an open form is charged to that
// form's "(", inside a string to its quote. Errors and notes with nothing read into the tree
// between them follow on, as does the report that an unrecognised form brings after it (15, then 6).
TEST(Diag_ReportPosition, PlacesAndFollowOns)
{
    const struct { const char* text; const char* recursive; const char* iterative; } cases[] = {
        {"(design c\n (version 1 0)\n (cell d\n  (port d INPUT 1)\n  (port clk)))", "10@2:14 12@2:14+ 10@5:12 12@5:12+", "10@2:14"},
        {"(design a (cell b (port p INPUT) x))", "14@1:34 9@1:34+ 12@1:35+", "14@1:34 9@1:34+"},
        {"(design a\n  (cell \"abc\n", "8@2:9 15@2:9+ 6@2:9+ 9@2:9+ 14@2:9+ 9@2:9+ 15@2:9+ 6@2:9+ 9@2:9+ 14@2:9+ 9@2:9+", "8@2:9"},
        {"(design a\n  (cell b\n  (port p INPUT)", "6@2:3 9@2:3+ 14@2:3+ 9@2:3+ 6@2:3+ 9@2:3+ 14@2:3+ 9@2:3+", "2@2:3"},
    };
    Grammar g = NetlistGrammar();
    for (const auto& row : cases)
        for (int engine = 0; engine < 2; ++engine) {
            PlaceRecorder parser(g.get());
            ParseText(parser, row.text, engine);
            EXPECT_EQ(engine ? row.iterative : row.recursive, parser.places) << row.text << " engine " << engine;
        }
    // With recovery, the report after a form that was skipped is about another problem.
    for (int engine = 0; engine < 2; ++engine) {
        PlaceRecorder parser(g.get());
        parser.SetRecovery(1);
        ParseText(parser, "(design a (version 1) (cell b (port p) (mux2 x)))", engine);
        EXPECT_EQ("10@1:21 10@1:38 14@1:41 9@1:41+", parser.places) << "engine " << engine;
    }
}

// A file that does not open is about no place; each parse starts with no report, and its
// first report follows on from nothing.
TEST(Diag_ReportPosition, NoPlaceAndPerParseReset)
{
    Grammar g = NetlistGrammar();
    PlaceRecorder parser(g.get());
    parser.Parse("/nonexistent/dir/file.net", 0);
    ParseText(parser, "(design a (version 1))");
    EXPECT_EQ("4@0:0 10@1:21 12@1:21+", parser.places);
    ParseText(parser, "(design a (version 1 2 3))");
    const zelReportS r = parser.GetReport();
    EXPECT_EQ(0, r.code + r.line + r.column + r.followOn);
}
