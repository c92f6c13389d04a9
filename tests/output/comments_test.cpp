// Comments kept through a parse: attached to the node next to them, written back as ";; "
// lines, read back into the same places, and gone with the nodes that held them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

// The stream text of every goal, as the tool writes it; the list writer's strings join
// into the same text.
std::string WrittenGoals(CZelParser& parser)
{
    std::string text, listed;
    for (int i = 0; i < parser.GetGoalCount(); ++i) {
        text += StreamText(parser, parser.GetGoalAt(i), 0, 1);
        CStringList list;
        parser.WriteList(parser.GetGoalAt(i), 0, &list);
        for (const std::string& item : Strings(list))
            listed += item;
    }
    EXPECT_EQ(text, listed);
    return text;
}

}  // namespace

// Each case: the input, the text written with its comments, and the number of comments.
// The written text reads back into the same tree and as many comments, and is written
// again unchanged, by both engines. A comment's text leaves out its marks, one blank after
// them and the line end.
TEST(Output_Comments, WrittenInTheirPlacesAndReadBackThere)
{
    const struct {
        const char* name;
        const char* input;
        const char* written;
        int count;
    } cases[] = {
        {"before, behind a head, a value and a \")\"", "; file\n(design d ; name\n (cell c ; cell\n  (port p INPUT) ; port\n ))\n",
         "\n;; file\n(design  d ;; name\n (cell  c ;; cell\n  (port  p  INPUT) ;; port\n ))", 4},
        {"in front of \")\", at the end, one after another", "(design d\n (cell c\n  ; one\n  ;two\n  )\n ; three\n)\n; end\n# more\n",
         "\n(design  d\n (cell  c\n  ;; one\n  ;; two\n )\n ;; three\n)\n;; end\n;; more\n", 5},
        {"marks, blanks and CR LF lines", ";;;   kept indented \r\n#x\r\n; ;y\r\n(design d) ;\r\n",
         "\n;;   kept indented\n;; x\n;; ;y\n(design  d) ;;\n", 4},
        {"comment marks inside strings and words", "(design d (cell c (net n \"a ; b # c\" 1.5) (net x;y)))",
         "\n(design  d\n (cell  c\n  (net  n  \"a ; b # c\"  1.500000)\n  (net  x;y)))", 0},
        {"behind \"(\" and behind a value that goes on", "(design d\n ( ; opener\n  cell c (port ; head\n p INPUT ; dir\n 8)))",
         "\n(design  d\n ;; opener\n (cell  c\n  (port ;; head\n     p  INPUT ;; dir\n     8)))", 3},
        {"a form without children, and two goals", "(library ; inside\n)\n; between\n(library \"s\")",
         "\n(library ;; inside\n)\n;; between\n(library  \"s\")", 2},
    };
    Grammar g = NetlistGrammar();
    for (const auto& c : cases) {
        for (const int engine : {0, 1}) {
            const std::string where = std::string(c.name) + (engine ? ", iterative" : ", recursive");
            RecordingParser parser(g.get(), 4, 256);
            parser.SetKeepComments(1);
            ASSERT_EQ(0, ParseText(parser, c.input, engine)) << where;
            EXPECT_EQ(c.written, WrittenGoals(parser)) << where;
            EXPECT_EQ(c.count, parser.SetKeepComments(1)) << where;

            RecordingParser again(g.get(), 4, 256);
            again.SetKeepComments(1);
            ASSERT_EQ(0, ParseText(again, c.written, engine)) << where;
            EXPECT_EQ(Shapes(parser), Shapes(again)) << where;
            EXPECT_EQ(c.count, again.SetKeepComments(1)) << where;
            EXPECT_EQ(c.written, WrittenGoals(again)) << where;
        }
    }
}

// Off, the default, comments are passed over: the text is as without them. Turning the
// switch off drops the comments kept and says how many there were.
TEST(Output_Comments, OffByDefaultAndDroppedWhenTurnedOff)
{
    Grammar g = NetlistGrammar();
    const char* input = "; a\n(design d ; b\n (cell c)) ; c\n";
    RecordingParser parser(g.get(), 4, 256);
    ASSERT_EQ(0, ParseText(parser, input));
    EXPECT_EQ("\n(design  d\n (cell  c))", WrittenGoals(parser));
    EXPECT_EQ(0, parser.SetKeepComments(1));
    parser.FullInit();
    ASSERT_EQ(0, ParseText(parser, input));
    EXPECT_EQ(3, parser.SetKeepComments(1));
    EXPECT_EQ(3, parser.SetKeepComments(0));
    EXPECT_EQ("\n(design  d\n (cell  c))", WrittenGoals(parser));
    EXPECT_EQ(0, parser.SetKeepComments(0));
}

// A node's comments go with it (removal, deletion, a new parse); edits keep the comments
// of the nodes they leave alone.
TEST(Output_Comments, GoWithTheirNodesAndSurviveEditsElsewhere)
{
    Grammar g = NetlistGrammar();
    RecordingParser parser(g.get(), 4, 256);
    parser.SetKeepComments(1);
    ASSERT_EQ(0, ParseText(parser, "(design d\n ; first\n (cell a (port p INPUT) ; port\n )\n ; second\n (cell b))"));
    const CZelOid* design = parser.GetGoalAt(0);
    EXPECT_NE(nullptr, parser.AddObject(design, "(cell e)"));
    EXPECT_EQ("\n(design  d\n ;; first\n (cell  a\n  (port  p  INPUT) ;; port\n )\n ;; second\n (cell  b)\n (cell  e))",
              WrittenGoals(parser));
    EXPECT_EQ(1, Child(design, 1)->RemoveObjects());
    EXPECT_EQ(2, parser.SetKeepComments(1));
    EXPECT_EQ(1, parser.DeleteObject(Child(design, 2), 1));
    EXPECT_EQ(1, parser.SetKeepComments(1));
    EXPECT_EQ("\n(design  d\n ;; first\n (cell)\n (cell  e))", WrittenGoals(parser));
    parser.FullInit();
    EXPECT_EQ(0, parser.SetKeepComments(1));
}

// Many comments, many siblings and deep nesting: nothing recursive, every comment kept and
// written.
TEST(Output_Comments, ManyCommentsAreKept)
{
    Grammar g = NetlistGrammar();
    std::string input = "(design d\n (cell c\n";
    const int count = 100000;
    for (int i = 0; i < count; ++i)
        input += "  ; port " + std::to_string(i) + "\n  (port p" + std::to_string(i) + " INPUT) ; " + std::to_string(i) + "\n";
    input += " ))\n";
    for (const int engine : {0, 1}) {
        RecordingParser parser(g.get(), 4, 256);
        parser.SetStackGrowth(1);
        parser.SetKeepComments(1);
        ASSERT_EQ(0, ParseText(parser, input, engine)) << (parser.reports.empty() ? "" : parser.reports[0]);
        const std::string written = StreamText(parser, parser.GetGoalAt(0));
        EXPECT_EQ(4 * count, std::count(written.begin(), written.end(), ';'));
        EXPECT_EQ(2 * count, parser.SetKeepComments(0));
    }
}

// A form that a recovering parse skips makes no node: a comment inside it or behind its ")"
// goes with the node after it, never into the closed sibling in front of it.
TEST(Output_Comments, CommentsOfASkippedFormStayOutOfItsSiblings)
{
    Grammar g = NetlistGrammar();
    for (const int engine : {0, 1}) {
        RecordingParser parser(g.get(), 4, 256);
        parser.SetKeepComments(1);
        parser.SetRecovery(1);
        EXPECT_NE(0, ParseText(parser, "(design d\n (cell c (port a INPUT) (mux2 m1\n  ; inside\n  a b))\n"
                                       " (cell e (port b INPUT) (mux2 m2 a b) ; behind\n  (port z INPUT))\n (cell f))",
                               engine));
        EXPECT_EQ("\n(design  d\n (cell  c\n  (port  a  INPUT))\n ;; inside\n (cell  e\n  (port  b  INPUT))\n"
                  " ;; behind\n (cell  f))",
                  WrittenGoals(parser))
            << "engine " << engine;
    }
}
