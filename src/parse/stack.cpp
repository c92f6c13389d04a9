// Parse stack: one entry per open level of the form parser or the grammar searches.
#include "zel/parser.h"

// The overflow path, kept out of the push itself.
__attribute__((noinline, cold)) int CZelParser::StackOverflow()
{
    ReportError(zelERR_STACK_OVERFLOW, 0);
    m_errno = zelERR_STACK_OVERFLOW;  // also when the report cap silenced the report
    return 0;
}
