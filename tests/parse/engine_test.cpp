// The form parser: recognition, tree shape and error recovery, run with both engines.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

using Reports = std::vector<std::string>;

// One input with the tree, reports, error count and error state it must give.
struct Case {
    Grammar (*grammar)();
    const char* input;
    const char* shapes;
    Reports reports;
    int count;
    int state;
};

void Expect(const Case& c, int engine)
{
    SCOPED_TRACE(std::string("engine ") + std::to_string(engine) + ": " + c.input);
    Grammar g = c.grammar();
    RecordingParser p(g.get());
    const std::string file = TempFile(c.input);
    EXPECT_EQ(c.count, p.Parse(file.c_str(), engine));
    std::remove(file.c_str());
    EXPECT_EQ(c.shapes, Shapes(p));
    EXPECT_EQ(c.reports, p.reports);
    EXPECT_EQ(c.state, p.GetErrno());
}

const char kMissingDesign[] = "3@1:Missing $GOAL form: design.";
const char kEarlyEnd[] = "3@1:Unexpected end of form \")\".\n";

}  // namespace

// Cases on which the two engines agree.
TEST(Parse_Engine, BothEnginesAgree)
{
    const Case cases[] = {
        // Literals in any case, composite alternatives, optional and repeated elements, an
        // integer at a real element, the integer keyword three times at S_ONCE elements.
        {NetlistGrammar, "(design top\n (version 1 2 3)\n (cell a (port p input 4) (net n \"x\" 1.5 2))\n (cell b))\n",
         "(design top (version 1 2 3) (cell a (port p INPUT 4) (net n \"x\" 1.500000 2.000000)) (cell b))", {}, 0, 0},
        // Form keywords in any case; every top-level form is a goal.
        {NetlistGrammar, "(DESIGN Top (Cell a (PORT p Output)))\n(library)\n(library \"a\" \"b\")\n",
         "(design Top (cell a (port p OUTPUT))) (library) (library \"a\" \"b\")", {}, 0, 0},
        // Content fails on a value: 6 with the nested 15, then the note 9.
        {NetlistGrammar, "(library 5)\n", "(library)",
         {"3@1:Unrecognized form \"5\".\n", "3@1:Unexpected token \"5\" within construct \"library\".\n",
          "1@1:Skipping rest of form: library.\n"}, 2, 0},
        // A known keyword as the unexpected token: 15 shows nothing and counts nothing.
        {NetlistGrammar, "(library (cell a))\n", "(library)",
         {"3@1:Unexpected token \"cell\" within construct \"library\".\n", "1@1:Skipping rest of form: library.\n"}, 1, 0},
        // Content complete but no ")": 14 counts two.
        {NetlistGrammar, "(design top (bogus 1))\n", "(design top)",
         {"3@1:Expecting end of form \")\" (Token=\"bogus\").\n", "1@1:Skipping rest of form: design.\n"}, 2, 0},
        // Unknown top-level form; the rest of the input stays unread.
        {NetlistGrammar, "(bogus)\n(design a)\n", "", {kMissingDesign}, 1, 2},
        // Goal limit 4: the fifth form is made but not recorded.
        {NetlistGrammar, "(library)(library)(library)(library)(library)\n",
         "(library) (library) (library) (library)", {kMissingDesign}, 1, 2},
        // ")" first, optional int, ")"; a keyword with accept word 0 at a required element.
        {EdgeGrammar, "(optint 5)\n(OptInt)\n(reqshy (shy))\n", "(optint 5) (optint) (reqshy (shy))", {}, 0, 0},
        {EdgeGrammar, "(ints 1 2 3)\n(nest (nest) (nest (nest)))\n", "(ints 1 2 3) (nest (nest) (nest (nest)))", {}, 0, 0},
        // Empty form before an element flagged exactly S_REQ; S_REQ|S_ONCE does not count.
        {EdgeGrammar, "(exact)\n(once)\n", "(exact) (once)", {kEarlyEnd}, 1, 0},
        // A lone required int: missing is 12 (no successor, no 10); present is 14.
        {EdgeGrammar, "(reqint)\n(reqint 5)\n", "(reqint) (reqint 5)",
         {kEarlyEnd, "3@2:Expecting end of form \")\" (Token=\"5\").\n", "1@2:Skipping rest of form: reqint.\n"}, 3, 0},
    };
    for (const Case& c : cases)
        for (int engine = 0; engine < 2; ++engine)
            Expect(c, engine);
}

// Where the engines differ, per engine. Result 2 ends the iterative engine at once; the
// recursive one treats it at the enclosing form as a failed content, reports, and goes on.
// A repeated group that matched yields its successor's result in the recursive engine (1
// here: error 6), and 0 in the iterative one (error 14).
TEST(Parse_Engine, EnginesDifferOnStopAndRepeatedGroups)
{
    const char* missingInt = "3@1:Expecting: FORM integer (Token=\")\").";
    Reports atEnd;  // end of input inside two open forms: reports for each of them
    for (std::string form : {"cell", "design"})
        atEnd.insert(atEnd.end(), {"3@2:Unrecognized form \"a\".\n",
                                   "3@2:Unexpected token \"a\" within construct \"" + form + "\".\n",
                                   "1@2:Skipping rest of form: " + form + ".\n",
                                   "3@2:Expecting end of form \")\" (Token=\"a\").\n",
                                   "1@2:Skipping rest of form: " + form + ".\n"});
    const Case pairs[][2] = {
        {{EdgeGrammar, "(reqend)\n", "(reqend)", {missingInt, kEarlyEnd}, 2, 0},
         {EdgeGrammar, "(reqend)\n", "(reqend)", {missingInt}, 1, 0}},
        // The accept-0 form at an optional element is skipped up to its own ")", which the
        // recursive engine's holder then takes as its end.
        {{EdgeGrammar, "(holder (shy))\n", "(holder)", {kEarlyEnd}, 1, 0},
         {EdgeGrammar, "(holder (shy))\n", "(holder)", {"3@1:Missing $GOAL form: optint."}, 1, 2}},
        {{NetlistGrammar, "(design top (cell a\n", "(design top (cell a))", atEnd, 8, 0},
         {NetlistGrammar, "(design top (cell a\n", "(design top (cell a))", {"3@2:Missing $GOAL form: design."}, 1, 2}},
        {{EdgeGrammar, "(ints 1 2 x)\n", "(ints 1 2)", {"3@1:Unrecognized form \"x\".\n",
          "3@1:Unexpected token \"x\" within construct \"ints\".\n", "1@1:Skipping rest of form: ints.\n"}, 2, 0},
         {EdgeGrammar, "(ints 1 2 x)\n", "(ints 1 2)",
          {"3@1:Expecting end of form \")\" (Token=\"x\").\n", "1@1:Skipping rest of form: ints.\n"}, 2, 0}},
    };
    for (const auto& pair : pairs)
        for (int engine = 0; engine < 2; ++engine)
            Expect(pair[engine], engine);
}

// Under the extended rules "((" at the end of input opens forms that never close: the
// parse ends with a failure instead of reading past the end.
TEST(Parse_Engine, EndOfInputInsideOpenersEnds)
{
    for (int engine = 0; engine < 2; ++engine) {
        Grammar g = NetlistGrammar();
        RecordingParser p(g.get(), 4, 65535, 0, 1);
        const std::string file = TempFile("(design top (cell ((");
        EXPECT_NE(0, p.Parse(file.c_str(), engine)) << engine;
        std::remove(file.c_str());
    }
}
