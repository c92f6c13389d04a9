// The parse stack: capacity, overflow and underflow, growth, and the high-water mark.
#include <gtest/gtest.h>

#include "support/components.h"

using namespace zeltest;

// Overflow leaves the top index at the capacity and names it (with 0 every push overflows);
// popping the bottom entry underflows without a report.
TEST(Parse_Stack, OverflowAndUnderflow)
{
    Grammar g = NetlistGrammar();
    for (int capacity : {0, 6}) {
        Components c(g.get(), 0, false, capacity);
        zel::ParseStack& stack = c.stack;
        for (int i = 0; i < capacity; ++i)
            EXPECT_EQ(1, stack.Push(1 + i, nullptr, 0));
        EXPECT_EQ(0, stack.Push(1, nullptr, 0));
        EXPECT_EQ((std::vector<int>{capacity, zelERR_STACK_OVERFLOW, capacity ? capacity - 1 : 0}),
                  (std::vector<int>{stack.TopIndex(), c.reporter.State(), stack.High()}));
        while (stack.TopIndex() > 0)
            EXPECT_EQ(0, stack.Pop());
        EXPECT_EQ((std::vector<int>{1, -1, zelERR_STACK_UNDERFLOW}), (std::vector<int>{stack.Pop(), stack.TopIndex(), c.reporter.State()}));
        EXPECT_EQ(std::vector<std::string>{"3@0:\n ZEL Parser Error: Internal stack overflow. (" +
                                           std::to_string(capacity) + ")\n"}, c.hooks.reports);
    }
    // A growing stack grows from no room at all and keeps its entries.
    Components c(g.get(), 0, false, 0);
    c.stack.SetGrowth(true);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(1, c.stack.Push(1 + i % 20, nullptr, 0));
    for (int i = 999; i >= 0; --i)
        ASSERT_EQ(1 + i % 20, c.stack.At(i).sem);
    EXPECT_EQ("", c.hooks.output);
}
