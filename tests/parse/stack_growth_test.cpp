// A parse stack that grows on demand: wide files parse with a small initial capacity, and
// a fixed capacity still overflows as before.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/test_access.h"
#include "support/test_grammars.h"

using namespace zeltest;
using A = CZelTestAccess;

namespace {

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
        EXPECT_EQ(A::StackHigh(fixed), A::StackHigh(growing)) << engine;
        EXPECT_EQ(engine == 1, A::StackHigh(growing) > 200000) << "each repetition takes an entry";
        EXPECT_EQ("", growing.output);
        growing.FullInit();
        EXPECT_EQ(0, growing.Parse(file.c_str(), "r", -1L, engine));
        // The line-list parse releases the stack; the next parse builds it again.
        EXPECT_EQ(0, ParseLine(growing, "(design small)"));
        EXPECT_EQ(0, growing.Parse(file.c_str(), "r", -1L, engine));
    }
    std::remove(file.c_str());
}

// Without growth a full stack is the overflow report it always was, and the pushes of the
// grammar searches grow the stack as the engines' do.
TEST(Parse_StackGrowth, FixedCapacityStillOverflows)
{
    Grammar g = NetlistGrammar();
    const std::string file = TempFile(WideNet(100));
    RecordingParser p(g.get(), 4, 16);
    EXPECT_NE(0, p.Parse(file.c_str(), "r", -1L, 1));
    EXPECT_EQ(zelERR_STACK_OVERFLOW, p.GetErrno());
    EXPECT_NE(std::string::npos, p.output.find("\n ZEL Parser Error: Internal stack overflow. (16)\n")) << p.output;

    RecordingParser q(g.get(), 4, 0);  // growth from no room at all
    q.SetStackGrowth(1);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(1, A::Push(q, 1 + i % 20));
    for (int i = 999; i >= 0; --i)
        ASSERT_EQ(1 + i % 20, A::StackSem(q, i));
    EXPECT_EQ("", q.output);
    std::remove(file.c_str());
}

// A search for an existing node's element passes required elements, so it can come back
// into a composite's rule before it finds anything: the cell items' rule is entered again
// through a required member's successor. The walk does not enter it a second time and
// goes on to the target after the composite, with a growing stack as with a fixed one.
TEST(Parse_StackGrowth, SearchDoesNotReenterComposite)
{
    Grammar g = NetlistGrammar();
    g.rows[15].semType = S_REQ;  // net, now required,
    g.rows[15].next = 12;        // leads back to the cell items
    for (int growth : {0, 1}) {
        RecordingParser p(g.get(), 4, 64);
        p.SetStackGrowth(growth);
        ASSERT_TRUE(A::HasGrammar(p));
        ASSERT_EQ(1, A::Push(p, 12));
        EXPECT_EQ(1, A::BuildStack(p, 13));
        EXPECT_EQ(13, A::StackSem(p, A::Top(p)));
        EXPECT_EQ("", p.output);
    }
}
