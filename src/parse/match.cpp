// Matching one token against one grammar element, the node a matched token makes, the
// end-of-form test and the skip to the end of a form.
#include "diag/reporter.h"
#include "lex/lexer.h"
#include "parse/form_parser.h"
#include "tree/node_store.h"

namespace zel {

namespace {

// Reports a number token that changes on reading: one that is not well formed, one out of range.
__attribute__((noinline, cold)) void WarnNumber(Reporter& reporter, int e, const NumberFaults& faults)
{
    if (faults.malformed)
        reporter.Report(zelERR_NUMBER_TEXT, e);
    if (faults.range != zelERR_NONE)
        reporter.Report(faults.range, e);
}

}  // namespace

CZelOid* FormParser::MakeNode(int e)
{
    NumberFaults faults;
    const Token& token = m_lexer.Current();
    CZelOid* node = m_store.Make(e, m_grammar.ElementType(e), token.text, token.length, &faults);
    if (faults.malformed || faults.range != zelERR_NONE)
        WarnNumber(m_reporter, e, faults);
    return node;
}

int FormParser::FormSatis(int e) const
{
    for (int n = m_grammar.Row(e).next; n; n = m_grammar.Row(n).next)
        if (m_grammar.Row(n).semType == S_REQ)
            return 1;
    return 0;
}

int FormParser::GotoEoform()
{
    const int target = m_lexer.Depth() - 1;
    while (m_lexer.Gettok() == 1)
        if (m_lexer.Depth() <= target)
            return 1;
    return 0;
}

}  // namespace zel
