// Steps 1 and 2 of a form-parser level, inline for both engines' inner loops.
#ifndef ZEL_PARSE_MATCH_STEP_H
#define ZEL_PARSE_MATCH_STEP_H

#include "parse/level_steps.h"
#include "parse/match_element.h"
#include "zel/oid.h"
#include "zel/parser.h"

// Steps 1 and 2: read a token when one is needed, match it against the element, and
// make the node for a match.
__attribute__((always_inline)) inline int CZelParser::MatchStep(zelStackS& top)
{
    const int e = top.sem;
    // Once the tokenizer has reported the end of input there is no token to match.
    if (m_inputEnded)
        return zel::kStop;
    if (m_needToken) {
        if (Gettok() != 1)
            return zel::kStop;
        if (m_tokType == zelKW_IDENT)
            ConvertToktyp();
        m_needToken = 0;
    }

    const int m = MatchElement(e);
    if (m == 1) {
        if (m_tokType == zelKW_EOFORM) {
            m_needToken = 1;
            return FormSatis(e);
        }
        CZelOid* node = AddObj(e);
        m_current = node;
        if (node) {
            // A link that already holds nodes (made for an element that then counted as
            // unmatched, such as a repeated group whose last attempt failed) keeps them:
            // the new node goes behind them.
            CZelOid** slot = top.slot;
            while (*slot)
                slot = &(*slot)->Nlink;
            *slot = node;
            top.status = 0;
            if (m_depth == 1 && m_tokType == zelKW_FORM && m_recordGoals) {
                if (m_goalCount >= m_maxGoals) {
                    // The node is made but not recorded; the parse entry keeps it for release.
                    m_current = nullptr;
                    return zel::kStop;
                }
                m_goals[m_goalCount++] = node;
            }
        } else {
            ReportError(zelERR_ONLY_ONCE, e);
            if (GetSemanticKeywordType(e) == zelKW_FORM)
                GotoEoform();
        }
        m_needToken = 1;
    } else if (m == 2) {
        if (GotoEoform())
            return zel::kStop;
        m_needToken = 1;
    }
    return zel::kGoOn;
}

#endif
