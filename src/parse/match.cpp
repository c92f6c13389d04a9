// Matching one token against one grammar element, the end-of-form test and the
// skip to the end of a form.
#include "parse/match_element.h"

int CZelParser::SemMatch(int e) { return MatchElement(e); }

int CZelParser::FormSatis(int e)
{
    for (int n = m_grammar.semTable[e].next; n; n = m_grammar.semTable[n].next)
        if (m_grammar.semTable[n].semType == S_REQ)
            return 1;
    return 0;
}

int CZelParser::GotoEoform()
{
    const int target = m_depth - 1;
    while (Gettok() == 1)
        if (m_depth <= target)
            return 1;
    return 0;
}
