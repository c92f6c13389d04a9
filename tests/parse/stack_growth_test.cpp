// A parse stack that grows on demand: wide files parse with a small initial capacity, and
// a fixed capacity still overflows as before.
#include <gtest/gtest.h>

#include "core/parser_access.h"
#include "parse/grammar_search.h"
#include "support/components.h"

using namespace zeltest;

namespace {

int StackHigh(const CZelParser& p) { return zel::ParserAccess::Of(p).stack.High(); }

// One net holding count real values, all siblings of one repeated group.
std::string WideNet(int count)
{
    std::string text = "(design top (cell c (net n";
    for (int i = 0; i < count; ++i)
        text += i % 16 ? " 1.5" : "\n 2";
    return text + ")))\n";
}

}  // namespace

// Both engines read 200,000 siblings from a 16-entry stack that grows, into the same tree
// that a large fixed stack gives; the grown stack stays for later parses.
TEST(Parse_StackGrowth, WideFileParsesFromSmallStack)
{
    Grammar g = NetlistGrammar();
    const std::string file = TempFile(WideNet(200000));
    for (int engine : {0, 1}) {
        RecordingParser fixed(g.get(), 4, 1 << 20);
        ASSERT_EQ(0, fixed.Parse(file.c_str(), "r", -1L, engine)) << fixed.output;
        RecordingParser growing(g.get(), 4, 16);
        growing.SetStackGrowth(1);
        ASSERT_EQ(0, growing.Parse(file.c_str(), "r", -1L, engine)) << growing.output;
        EXPECT_EQ(Shapes(fixed), Shapes(growing)) << engine;
        EXPECT_EQ(StackHigh(fixed), StackHigh(growing)) << engine;
        EXPECT_EQ(engine == 1, StackHigh(growing) > 200000) << "each repetition takes an entry";
        EXPECT_EQ("", growing.output);
        growing.FullInit();
        EXPECT_EQ(0, StackHigh(growing));
        EXPECT_EQ(0, growing.Parse(file.c_str(), "r", -1L, engine));
        // The line-list parse releases the stack; the next parse builds it again.
        EXPECT_EQ(0, ParseLine(growing, "(design small)"));
        EXPECT_EQ(0, growing.Parse(file.c_str(), "r", -1L, engine));
    }
}

// Without growth a full stack is the overflow report it always was.
TEST(Parse_StackGrowth, FixedCapacityStillOverflows)
{
    Grammar g = NetlistGrammar();
    const std::string file = TempFile(WideNet(100));
    RecordingParser p(g.get(), 4, 16);
    EXPECT_NE(0, p.Parse(file.c_str(), "r", -1L, 1));
    EXPECT_EQ(zelERR_STACK_OVERFLOW, p.GetErrno());
    EXPECT_NE(std::string::npos, p.output.find("\n ZEL Parser Error: Internal stack overflow. (16)\n")) << p.output;
    RecordingParser none(g.get(), 4, 0);  // no room at all
    EXPECT_NE(0, none.Parse(file.c_str(), "r", -1L, 0));
    EXPECT_EQ(zelERR_STACK_OVERFLOW, none.GetErrno());
}

// A search for an existing node's element passes required elements, so it can come back
// into a composite's rule before it finds anything: the cell items' rule is entered again
// through a required member's successor. The walk does not enter it a second time and
// goes on to the target after the composite, with a growing stack as with a fixed one.
TEST(Parse_StackGrowth, SearchDoesNotReenterComposite)
{
    Grammar g = NetlistGrammar();
    g.rows[NR_ITEM_NET].semType = S_REQ;      // net, now required,
    g.rows[NR_ITEM_NET].next = NR_CELL_ITEMS;  // leads back to the cell items
    for (bool growth : {false, true}) {
        Components c(g.get());
        c.stack.SetGrowth(growth);
        ASSERT_TRUE(c.grammar.Has());
        ASSERT_EQ(1, c.stack.Push(NR_CELL_ITEMS, nullptr, 0));
        EXPECT_TRUE(zel::GrammarSearch(c.grammar, c.stack).Pass(NR_CELL_END));
        EXPECT_EQ(NR_CELL_END, c.stack.Top().sem);
        EXPECT_EQ("", c.hooks.output);
    }
}
