// The parse stack: capacity, overflow and underflow, and the high-water mark.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/test_access.h"
#include "support/test_grammars.h"

using namespace zeltest;
using A = CZelTestAccess;

// Overflow leaves the top index at the capacity and names it (with 0 every push overflows);
// popping the bottom entry underflows without a report; the high-water mark outlives parses.
TEST(Parse_Stack, OverflowUnderflowAndHighWaterMark)
{
    Grammar g = NetlistGrammar();
    const std::string file = TempFile("(design top)\n");
    for (int capacity : {0, 6}) {
        RecordingParser p(g.get(), 4, capacity);
        for (int i = 0; i < capacity; ++i)
            EXPECT_EQ(1, A::Push(p, 1 + i));
        EXPECT_EQ(0, A::Push(p, 1));
        EXPECT_EQ((std::vector<int>{capacity, zelERR_STACK_OVERFLOW, capacity ? capacity - 1 : 0}),
                  (std::vector<int>{A::Top(p), p.GetErrno(), A::StackHigh(p)}));
        while (A::Top(p) > 0)
            EXPECT_EQ(0, A::Pop(p));
        EXPECT_EQ((std::vector<int>{1, -1, zelERR_STACK_UNDERFLOW}), (std::vector<int>{A::Pop(p), A::Top(p), p.GetErrno()}));
        EXPECT_EQ(std::vector<std::string>{"3@0:\n ZEL Parser Error: Internal stack overflow. (" +
                                           std::to_string(capacity) + ")\n"}, p.reports);
        EXPECT_EQ(capacity == 0, p.Parse(file.c_str(), 0) != 0);
        EXPECT_EQ(capacity ? capacity - 1 : 0, A::StackHigh(p));
        p.FullInit();
        EXPECT_EQ(0, A::StackHigh(p));
    }
    std::remove(file.c_str());
}
