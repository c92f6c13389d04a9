// Matching one token against one grammar element, inline for the engines' inner loops.
#ifndef ZEL_PARSE_MATCH_ELEMENT_H
#define ZEL_PARSE_MATCH_ELEMENT_H

#include <strings.h>

#include "core/name_index.h"
#include "zel/parser.h"

// 1 when the current token matches element e, 0 when not, 2 when it names the element's
// keyword but may not be taken there (its accept word is 0 and e is not required).
__attribute__((always_inline)) inline int CZelParser::MatchElement(int e)
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

#endif
