// Push and pop of the parse stack, inline for the engines' inner loops. A push may move
// the entries (a growing stack), so nobody holds a reference to an entry across a push.
#ifndef ZEL_PARSE_STACK_H
#define ZEL_PARSE_STACK_H

#include "zel/parser.h"

__attribute__((always_inline)) inline int CZelParser::PushStack(int sem, CZelOid** slot, short resume)
{
    ++m_top;
    if ((m_top >= m_stackCap || !m_stack) && !StackOverflow())
        return 0;
    if (m_top > m_stackHigh)
        m_stackHigh = m_top;
    zelStackS& entry = m_stack[m_top];
    entry.sem = sem;
    entry.slot = slot;
    entry.status = 1;
    entry.resume = resume;
    return 1;
}

__attribute__((always_inline)) inline int CZelParser::PopStack()
{
    if (--m_top < 0) {
        m_errno = zelERR_STACK_UNDERFLOW;
        return 1;
    }
    return 0;
}

#endif
