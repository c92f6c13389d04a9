// Parse stack: one entry per open level of the form parser or the grammar searches.
#include "zel/parser.h"

// The overflow path, kept out of the push itself.
__attribute__((noinline, cold)) int CZelParser::StackOverflow()
{
    ReportError(zelERR_STACK_OVERFLOW, 0);
    m_errno = zelERR_STACK_OVERFLOW;  // also when the report cap silenced the report
    return 0;
}

int CZelParser::PushStack(int sem, CZelOid** slot, short resume)
{
    ++m_top;
    if (m_top >= m_stackCap || !m_stack)
        return StackOverflow();
    if (m_top > m_stackHigh)
        m_stackHigh = m_top;
    zelStackS& entry = m_stack[m_top];
    entry.sem = sem;
    entry.slot = slot;
    entry.status = 1;
    entry.resume = resume;
    return 1;
}

int CZelParser::PopStack()
{
    if (--m_top < 0) {
        m_errno = zelERR_STACK_UNDERFLOW;
        return 1;
    }
    return 0;
}
