// Matching one token against one grammar element, the end-of-form test and the
// skip to the end of a form.
#include <strings.h>

#include "core/name_index.h"
#include "zel/parser.h"

int CZelParser::SemMatch(int e)
{
    const int kt = GetSemanticKeywordType(e);
    const int tt = m_tokType;
    if (tt != kt) {
        if (kt == zelKW_IDENT && tt == zelKW_LITIDENT) {
            m_tokType = zelKW_IDENT;
            return 1;
        }
        if (!(tt == zelKW_LITIDENT || (kt == zelKW_REALTOK && tt == zelKW_INTTOK)))
            return 0;
    }
    // Values and ")" match by type alone; forms and literals by their keyword name.
    if (tt != zelKW_FORM && tt != zelKW_LIT && tt != zelKW_LITIDENT)
        return 1;
    const int k = m_grammar.semTable[e].keywordId;
    const zelKeywordS& keyword = m_grammar.kwTable[k];
    if (m_names->Empty() ? strcasecmp(m_tok, keyword.name) != 0 : TokenName() != m_names->CanonicalOf(k))
        return 0;
    if (keyword.accept)
        return 1;
    return (m_grammar.semTable[e].semType & S_REQ) ? 1 : 2;
}

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
