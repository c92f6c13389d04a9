// Recovery: with SetRecovery on, a parse reports each independent problem and reads on
// after the form that holds it, the same way with both engines and both rule sets.
#include <gtest/gtest.h>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

using Reports = std::vector<std::string>;

// design = ident version? cell* ; cell = ident (port | net)* ; and so on.
struct Netlist : CZelGrammar {
    Netlist()
    {
        EXPECT_EQ(0, Compile("goal design ; form design = ident version? cell* ; form version = int int int ;"
                             "form cell = ident (port | net)* ; form port = ident direction width? ;"
                             "form net = ident label? weight* ; choice direction = INPUT | OUTPUT | INOUT ;"
                             "value width = int ; value label = string ; value weight = real ;"));
    }
};

// True when every node below node names its parent.
bool ParentsLinked(const CZelOid* node)
{
    for (const CZelOid* child = node->GetFirstObj(); child; child = child->GetNextObj())
        if (child->GetParent() != node || !ParentsLinked(child))
            return false;
    return true;
}

// What one parse gave: the count, the reports and the trees.
struct Outcome {
    int count;
    Reports reports;
    std::string trees;
};

Outcome ParseWith(zelParserS* grammar, const std::string& input, int engine, int extended, int recovery)
{
    RecordingParser p(grammar, 16, 65535, 0, extended);
    p.SetRecovery(recovery);
    Outcome o;
    o.count = ParseText(p, input, engine);
    o.reports = p.reports;
    o.trees = Shapes(p);
    return o;
}

// The parse of input with recovery, the same with both engines and both rule sets.
Outcome Recover(zelParserS* grammar, const std::string& input)
{
    const Outcome first = ParseWith(grammar, input, 0, 0, 1);
    for (int engine = 0; engine < 2; ++engine)
        for (int extended = 0; extended < 2; ++extended) {
            SCOPED_TRACE("engine " + std::to_string(engine) + ", extended " + std::to_string(extended) + ": " + input);
            const Outcome other = ParseWith(grammar, input, engine, extended, 1);
            EXPECT_EQ(first.count, other.count);
            EXPECT_EQ(first.reports, other.reports);
            EXPECT_EQ(first.trees, other.trees);
        }
    return first;
}

const char kSkipCell[] = "1@4:Skipping rest of form: cell.\n";

}  // namespace

TEST(Parse_Recovery, EachMistakeIsReportedOnceAndTheRestIsRead)
{
    Netlist g;
    const struct {
        const char* input;
        int count;
        Reports reports;
        const char* trees;
    } cases[] = {
        // Depth 2 and 3 (a required element missing, the form's ")" at hand: no "end of
        // form" after it); an unknown form and a stray value end their cell, whose siblings
        // are read; the last form before the end of the input.
        {"(design d\n (version 1 0)\n (cell a (port p))\n (cell b (mux2 m1 (x)) (port y output))\n"
         " (cell c (net n \"x\" 0.5 bad)) (cell e (port q inout 3)))\n(design f (cell g (port r)))\n",
         7,
         {"3@2:Expecting: FORM int (Token=\")\").", "3@3:Expecting: FORM direction (Token=\")\").",
          "3@4:Expecting end of form \")\" (Token=\"mux2\").\n", kSkipCell,
          "3@5:Expecting end of form \")\" (Token=\"bad\").\n", "1@5:Skipping rest of form: net.\n",
          "3@6:Expecting: FORM direction (Token=\")\")."},
         "(design d (version 1 0) (cell a (port p)) (cell b) (cell c (net n \"x\" 0.500000)) (cell e (port q INOUT 3)))"
         " (design f (cell g (port r)))"},
        // Forms that are no goal, a value and a ")" that closes nothing, at the top level:
        // one report for each run of them.
        {"(design a)\n(bogus 1 (x))\n5 )\n(design b (version 1 2 3))\n(bogus)\n", 2,
         {"3@2:Missing $GOAL form: design.", "3@5:Missing $GOAL form: design."},
         "(design a) (design b (version 1 2 3))"},
        // A form left open at the end of the input: one report, the forms read are kept.
        {"(design d (cell a (port p INPUT) (port q", 1, {"3@2:Unexpected end of file.\n"},
         "(design d (cell a (port p INPUT) (port q)))"},
        {"(design d (cell a (port p)) (cell b\n", 2,
         {"3@1:Expecting: FORM direction (Token=\")\").", "3@2:Unexpected end of file.\n"},
         "(design d (cell a (port p)) (cell b))"},
    };
    for (const auto& c : cases) {
        const Outcome o = Recover(g.GetDescriptor(), c.input);
        EXPECT_EQ(c.count, o.count) << c.input;
        EXPECT_EQ(c.reports, o.reports) << c.input;
        EXPECT_EQ(c.trees, o.trees) << c.input;
    }
}

// Forty mistakes in forty sibling forms give forty reports, past the cap of twenty that
// holds without recovery.
TEST(Parse_Recovery, SiblingMistakesAllShowAndTheCapCountsMore)
{
    Netlist g;
    std::string cells;
    for (int i = 0; i < 40; ++i)
        cells += " (cell c" + std::to_string(i) + " 5 (port p input))\n";
    const Outcome o = Recover(g.GetDescriptor(), "(design d\n" + cells + ")\n");
    EXPECT_EQ(80, o.count);  // "Expecting end of form" counts two
    ASSERT_EQ(80u, o.reports.size());
    for (int i = 0; i < 40; ++i) {
        const std::string line = std::to_string(i + 2);
        EXPECT_EQ("3@" + line + ":Expecting end of form \")\" (Token=\"5\").\n", o.reports[2 * i]);
        EXPECT_EQ("1@" + line + ":Skipping rest of form: cell.\n", o.reports[2 * i + 1]);
    }
    EXPECT_EQ(0u, o.trees.find("(design d (cell c0) (cell c1) (cell c2)"));

    // The cap of recovery: counted reports past 1000 are neither shown nor counted; here
    // the note of the 500th mistake is the report that trips it.
    const std::string many = "(design d\n" + Repeat(" (cell c 5)\n", 600) + ")\n";
    for (int engine = 0; engine < 2; ++engine) {
        const Outcome capped = ParseWith(g.GetDescriptor(), many, engine, 0, 1);
        EXPECT_EQ(1001, capped.count);
        EXPECT_EQ(999u, capped.reports.size());
    }
}

// The corners where the engines part without recovery: a stop after a required element, a
// repeated group followed by a stray token, a keyword that may not stand where it is, the
// end of the input inside nested forms. With recovery both give the same.
TEST(Parse_Recovery, EnginesAgreeWhereTheyDifferWithout)
{
    Grammar edge = EdgeGrammar();
    const struct {
        const char* input;
        Reports reports;
        const char* trees;
    } cases[] = {
        {"(reqend)\n(ints 1 2 x 3)\n(ints 4)\n", {"3@1:Expecting: FORM integer (Token=\")\").",
         "3@2:Expecting end of form \")\" (Token=\"x\").\n", "1@2:Skipping rest of form: ints.\n"},
         "(reqend) (ints 1 2) (ints 4)"},
        {"(holder (shy))\n(holder)\n", {"3@1:Unexpected token \"shy\" within construct \"holder\".\n",
         "1@1:Skipping rest of form: holder.\n"}, "(holder) (holder)"},
        {"(nest (nest (nest (nest 7) (nest)) 8) (nest))\n(nest (nest (nest\n",
         {"3@1:Unrecognized form \"7\".\n", "3@1:Unexpected token \"7\" within construct \"nest\".\n",
          "1@1:Skipping rest of form: nest.\n", "3@1:Expecting end of form \")\" (Token=\"8\").\n",
          "1@1:Skipping rest of form: nest.\n", "3@3:Unexpected end of file.\n"},
         "(nest (nest (nest (nest) (nest))) (nest)) (nest (nest (nest)))"},
    };
    for (const auto& c : cases) {
        const Outcome o = Recover(edge.get(), c.input);
        EXPECT_EQ(c.reports, o.reports) << c.input;
        EXPECT_EQ(c.trees, o.trees) << c.input;
    }
}

// Every node of a failed parse names its parent: the forms read after a skip, the forms cut
// short, and the forms left open at the end of the input (whose children no ")" linked),
// with recovery on and off, from a file and from a line list.
TEST(Parse_Recovery, NodesOfAFailedParseNameTheirParents)
{
    Netlist g;
    const char* const inputs[] = {
        "(design d (cell a (port p INPUT) (mux2 x) (port z)) (cell b (port q OUTPUT 4)) (cell c (port r)))\n(design e (cell f))\n",
        "(design d (cell a (port p INPUT) (port q",
        "(design d (cell a (port p INPUT)) (cell b (net n \"open",
    };
    for (const char* input : inputs)
        for (int recovery = 0; recovery < 2; ++recovery)
            for (int engine = 0; engine < 3; ++engine) {  // 2: a line list
                RecordingParser p(g.GetDescriptor());
                p.SetRecovery(recovery);
                TextList lines{input};
                EXPECT_NE(0, engine < 2 ? ParseText(p, input, engine) : p.Parse(&lines));
                ASSERT_LT(0, p.GetGoalCount()) << input;
                for (int i = 0; i < p.GetGoalCount(); ++i)
                    EXPECT_TRUE(ParentsLinked(p.GetGoalAt(i))) << input << " recovery " << recovery << " engine " << engine;
            }
}

// A line list reads on within a string and from one string to the next. An edit reads all or
// nothing also on a parser with recovery on.
TEST(Parse_Recovery, LineListsReadOnWithinAndAcrossStrings)
{
    Netlist g;
    RecordingParser p(g.GetDescriptor());
    p.SetRecovery(1);
    TextList lines{"(design a (version 1)) (bogus) (design b)", "(design c (cell x (port p", "(design d)"};
    EXPECT_EQ(3, p.Parse(&lines));
    EXPECT_EQ((Reports{"3@0:Expecting: FORM int (Token=\")\").", "3@0:Missing $GOAL form: design.",
                       "3@2:Unexpected end of file.\n"}),
              p.reports);
    const char trees[] = "(design a (version 1)) (design b) (design c (cell x (port p))) (design d)";
    EXPECT_EQ(trees, Shapes(p));
    EXPECT_EQ(nullptr, p.AddObject(p.GetGoalAt(1), "(cell g (port))"));
    EXPECT_EQ(trees, Shapes(p));
}

// Off, the default, and off again after on: the reports, counts and trees of the parse as
// it always was. After an unknown form two deep the skip
// ends with that form, and the recursive engine takes its ")" for the end of the design: the
// rest of the design goes unread (the iterative engine stops at once).
TEST(Parse_Recovery, OffReadsAsItAlwaysDid)
{
    Netlist g;
    const std::string known = "(design d (cell b (mux2 m1) (port y output)) (cell c (port)))\n";
    const Reports skipped = {"3@1:Expecting end of form \")\" (Token=\"mux2\").\n", "1@1:Skipping rest of form: cell.\n"};
    Reports early = skipped;
    early.push_back("3@1:Unexpected end of form \")\".\n");
    const Outcome expected[2] = {{3, early, "(design d (cell b))"}, {2, skipped, "(design d (cell b))"}};
    for (int engine = 0; engine < 2; ++engine) {
        const Outcome plain = ParseWith(g.GetDescriptor(), known, engine, 0, 0);
        EXPECT_EQ(expected[engine].count, plain.count);
        EXPECT_EQ(expected[engine].reports, plain.reports);
        EXPECT_EQ(expected[engine].trees, plain.trees);
        RecordingParser toggled(g.GetDescriptor());
        toggled.SetRecovery(1);
        toggled.SetRecovery(0);
        EXPECT_EQ(plain.count, ParseText(toggled, known, engine));
        EXPECT_EQ(plain.reports, toggled.reports);
        EXPECT_EQ(plain.trees, Shapes(toggled));
    }
}
