// The form parser: recognition, tree shape and error recovery, run with both engines.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

struct Outcome {
    int result;
    std::string shapes;
    std::vector<std::string> reports;
    int state;
};

Outcome ParseText(Grammar (*make)(), const std::string& text, int engine, int stackSize = 65535, int extended = 0)
{
    Grammar g = make();
    RecordingParser p(g.get(), 4, stackSize, 0, extended);
    const std::string file = TempFile(text);
    const int result = p.Parse(file.c_str(), engine);
    std::remove(file.c_str());
    return Outcome{result, Shapes(p), p.reports, p.GetErrno()};
}

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
    const Outcome o = ParseText(c.grammar, c.input, engine);
    EXPECT_EQ(c.shapes, o.shapes);
    EXPECT_EQ(c.reports, o.reports);
    EXPECT_EQ(c.count, o.result);
    EXPECT_EQ(c.state, o.state);
}

const char kMissingDesign[] = "3@1:Missing $GOAL form: design.";

}  // namespace

// Cases on which the two engines agree.
TEST(Parse_Engine, BothEnginesAgree)
{
    const Case cases[] = {
        // Literals in any case, composite alternatives, optional and repeated elements, an
        // integer at a real element, the integer keyword three times at S_ONCE elements.
        {NetlistGrammar, "(design top\n (version 1 2 3)\n (cell a (port p input 4) (net n \"x\" 1.5 2))\n (cell b))\n",
         "(design top (version 1 2 3) (cell a (port p INPUT 4) (net n \"x\" 1.500000 2.000000)) (cell b))", {}, 0, 0},
        // Form keywords and literals in any case; every top-level form is a goal.
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
        // ")" first, optional int, ")": with and without content.
        {EdgeGrammar, "(optint 5)\n(optint)\n(OptInt)\n", "(optint 5) (optint) (optint)", {}, 0, 0},
        // Empty form before an element flagged exactly S_REQ; S_REQ|S_ONCE does not count.
        {EdgeGrammar, "(exact)\n", "(exact)", {"3@1:Unexpected end of form \")\".\n"}, 1, 0},
        {EdgeGrammar, "(once)\n", "(once)", {}, 0, 0},
        // A lone required int: missing is 12 (no successor, no 10); present is 14.
        {EdgeGrammar, "(reqint)\n", "(reqint)", {"3@1:Unexpected end of form \")\".\n"}, 1, 0},
        {EdgeGrammar, "(reqint 5)\n", "(reqint 5)",
         {"3@1:Expecting end of form \")\" (Token=\"5\").\n", "1@1:Skipping rest of form: reqint.\n"}, 2, 0},
        // A keyword with accept word 0 parses at a required element.
        {EdgeGrammar, "(reqshy (shy))\n", "(reqshy (shy))", {}, 0, 0},
        {EdgeGrammar, "(ints 1 2 3)\n(nest (nest) (nest (nest)))\n", "(ints 1 2 3) (nest (nest) (nest (nest)))", {}, 0, 0},
    };
    for (const Case& c : cases)
        for (int engine = 0; engine < 2; ++engine)
            Expect(c, engine);
}

// Result 2 ends the iterative engine at once; the recursive one treats it at the
// enclosing form as a failed content, reports, and goes on.
TEST(Parse_Engine, StopTravelsUpOnlyInTheRecursiveEngine)
{
    const char* missingInt = "3@1:Expecting: FORM integer (Token=\")\").";
    const char* earlyEnd = "3@1:Unexpected end of form \")\".\n";
    Reports atEnd;  // end of input inside two open forms: reports for each of them
    for (std::string form : {"cell", "design"})
        atEnd.insert(atEnd.end(), {"3@2:Unrecognized form \"a\".\n",
                                   "3@2:Unexpected token \"a\" within construct \"" + form + "\".\n",
                                   "1@2:Skipping rest of form: " + form + ".\n",
                                   "3@2:Expecting end of form \")\" (Token=\"a\").\n",
                                   "1@2:Skipping rest of form: " + form + ".\n"});
    const Case pairs[][2] = {
        {{EdgeGrammar, "(reqend)\n", "(reqend)", {missingInt, earlyEnd}, 2, 0},
         {EdgeGrammar, "(reqend)\n", "(reqend)", {missingInt}, 1, 0}},
        // The accept-0 form at an optional element is skipped up to its own ")", which the
        // recursive engine's holder then takes as its end.
        {{EdgeGrammar, "(holder (shy))\n", "(holder)", {earlyEnd}, 1, 0},
         {EdgeGrammar, "(holder (shy))\n", "(holder)", {"3@1:Missing $GOAL form: optint."}, 1, 2}},
        {{NetlistGrammar, "(design top (cell a\n", "(design top (cell a))", atEnd, 8, 0},
         {NetlistGrammar, "(design top (cell a\n", "(design top (cell a))", {"3@2:Missing $GOAL form: design."}, 1, 2}},
    };
    for (const auto& pair : pairs)
        for (int engine = 0; engine < 2; ++engine)
            Expect(pair[engine], engine);
}

// A repeated group that matched yields its successor's result in the recursive engine
// (1 here: error 6), and 0 in the iterative one (error 14).
TEST(Parse_Engine, RepeatedGroupResultDiffers)
{
    const Case perEngine[] = {
        {EdgeGrammar, "(ints 1 2 x)\n", "(ints 1 2)",
         {"3@1:Unrecognized form \"x\".\n", "3@1:Unexpected token \"x\" within construct \"ints\".\n",
          "1@1:Skipping rest of form: ints.\n"}, 2, 0},
        {EdgeGrammar, "(ints 1 2 x)\n", "(ints 1 2)",
         {"3@1:Expecting end of form \")\" (Token=\"x\").\n", "1@1:Skipping rest of form: ints.\n"}, 2, 0},
    };
    for (int engine = 0; engine < 2; ++engine)
        Expect(perEngine[engine], engine);
}

// Repetitions: a loop in the recursive engine, one stack entry each in the iterative one.
TEST(Parse_Engine, MillionRepetitions)
{
    std::string text = "(design top\n";
    for (int i = 0; i < 1000000; ++i)
        text += "(cell c)\n";
    text += ")\n";
    const std::string file = TempFile(text);
    const struct { int engine, stackSize, result, state; } runs[] = {
        {0, 65535, 0, 0}, {1, 2000000, 0, 0}, {1, 65535, 1, 17}};
    for (const auto& run : runs) {
        SCOPED_TRACE(run.engine);
        Grammar g = NetlistGrammar();
        CZelParser p(g.get(), 4, run.stackSize);
        EXPECT_EQ(run.result, p.Parse(file.c_str(), run.engine));
        EXPECT_EQ(run.state, p.GetErrno());
        if (run.result)
            continue;
        int cells = 0;
        for (const CZelOid* n = p.GetGoalAt(0)->FindObj(NK_CELL); n; n = n->GetNextObj())
            ++cells;
        EXPECT_EQ(1000000, cells);
    }
    std::remove(file.c_str());
}

// 100,000 nested forms: the iterative engine parses them; the recursive one parses them or
// fails with a stack overflow report, never exhausting the machine stack.
TEST(Parse_Engine, DeepNesting)
{
    const int depth = 100000;
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "(nest ";
    const std::string file = TempFile(text + std::string(depth, ')') + "\n");
    for (int engine = 0; engine < 2; ++engine) {
        Grammar g = EdgeGrammar();
        RecordingParser p(g.get(), 4, 1000000);
        const int result = p.Parse(file.c_str(), engine);
        if (engine == 1 || result == 0) {
            EXPECT_EQ(0, result);
            int levels = 0;
            for (const CZelOid* n = p.GetGoalAt(0); n; n = n->GetFirstObj())
                ++levels;
            EXPECT_EQ(depth, levels);
        } else {
            EXPECT_EQ(17, p.GetErrno());
            ASSERT_FALSE(p.reports.empty());
            EXPECT_NE(std::string::npos, p.reports[0].find("Internal stack overflow"));
        }
    }
    std::remove(file.c_str());
}

// Under the extended rules "((" at the end of input opens forms that never close: the
// parse ends with a failure instead of reading past the end.
TEST(Parse_Engine, EndOfInputInsideOpenersEnds)
{
    for (int engine = 0; engine < 2; ++engine)
        EXPECT_NE(0, ParseText(NetlistGrammar, "(design top (cell ((", engine, 65535, 1).result) << engine;
}
