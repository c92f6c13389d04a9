// Counters that the length of the input drives: they stop at the ends of the int range
// instead of overflowing.
#ifndef ZEL_CORE_COUNTER_H
#define ZEL_CORE_COUNTER_H

#include <climits>
#include <cstddef>

namespace zel {

inline void CountUp(int& counter)
{
    if (counter != INT_MAX)
        ++counter;
}

// Stops one above INT_MIN, so that the counter minus one is still an int.
inline void CountDown(int& counter)
{
    if (counter > INT_MIN + 1)
        --counter;
}

inline void CountAdd(int& counter, size_t amount)
{
    counter = amount >= static_cast<size_t>(INT_MAX - counter) ? INT_MAX : counter + static_cast<int>(amount);
}

}  // namespace zel

#endif
