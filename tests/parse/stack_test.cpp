// The parse stack: capacity, overflow and underflow, and the high-water mark.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/test_access.h"
#include "support/test_grammars.h"

using namespace zeltest;
using A = CZelTestAccess;

TEST(Parse_Stack, OverflowAtCapacityIsReported)
{
    Grammar g = NetlistGrammar();
    for (int capacity : {0, 3}) {
        RecordingParser p(g.get(), 4, capacity);
        for (int i = 0; i < capacity; ++i)
            EXPECT_EQ(1, A::Push(p, 10 + i));
        EXPECT_EQ(0, A::Push(p, 13));
        EXPECT_EQ(capacity, A::Top(p));
        EXPECT_EQ(zelERR_STACK_OVERFLOW, p.GetErrno());
        ASSERT_EQ(1u, p.reports.size());
        EXPECT_EQ("3@0:\n ZEL Parser Error: Internal stack overflow. (" + std::to_string(capacity) + ")\n",
                  p.reports[0]);
        EXPECT_EQ(capacity ? capacity - 1 : 0, A::StackHigh(p));
    }
}

TEST(Parse_Stack, PopOfBottomEntryUnderflowsSilently)
{
    Grammar g = NetlistGrammar();
    RecordingParser p(g.get(), 4, 3);
    A::Push(p, 1);
    A::Push(p, 2);
    EXPECT_EQ(1, A::StackSem(p, 0));
    EXPECT_EQ(0, A::Pop(p));
    EXPECT_EQ(0, p.GetErrno());
    EXPECT_EQ(1, A::Pop(p));
    EXPECT_EQ(-1, A::Top(p));
    EXPECT_EQ(zelERR_STACK_UNDERFLOW, p.GetErrno());
    EXPECT_EQ("", p.output);
}

TEST(Parse_Stack, HighWaterMarkLastsUntilFullInit)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get(), 4, 100);
    for (int i = 0; i <= 5; ++i)
        A::Push(p, 1);
    while (A::Top(p) > 0)
        A::Pop(p);
    const std::string file = TempFile("(design top)\n");
    EXPECT_EQ(0, p.Parse(file.c_str(), 0));
    std::remove(file.c_str());
    EXPECT_EQ(5, A::StackHigh(p));
    p.FullInit();
    EXPECT_EQ(0, A::StackHigh(p));
}
