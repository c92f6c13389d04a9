// Parse stack: one entry per open level of the form parser or the grammar searches.
#include "zel/parser.h"

// The path of a full stack, kept out of the push itself: a growing stack grows and the
// push goes on (1); otherwise the overflow is reported (0).
__attribute__((noinline, cold)) int CZelParser::StackOverflow()
{
    if (m_stackGrowth && m_stack && GrowStack())
        return 1;
    ReportError(zelERR_STACK_OVERFLOW, 0);
    m_errno = zelERR_STACK_OVERFLOW;  // also when the report cap silenced the report
    return 0;
}
