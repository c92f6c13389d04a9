// Steps 1 and 2 of a form-parser level, inline for both engines' inner loops.
#ifndef ZEL_PARSE_MATCH_STEP_H
#define ZEL_PARSE_MATCH_STEP_H

#include "diag/reporter.h"
#include "lex/lexer.h"
#include "parse/form_parser.h"
#include "parse/level_steps.h"
#include "tree/node_fields.h"
#include "tree/node_store.h"

namespace zel {

// Steps 1 and 2: read a token when one is needed, match it against the element, and
// make the node for a match.
__attribute__((always_inline)) inline int FormParser::MatchStep(StackEntry& top)
{
    const int e = top.sem;
    // Once the tokenizer has reported the end of input there is no token to match.
    if (m_lexer.InputEnded())
        return kStop;
    if (m_needToken) {
        if (m_lexer.Gettok() != 1)
            return kStop;
        if (m_lexer.TokenType() == zelKW_IDENT)
            m_lexer.ConvertToktyp();
        m_needToken = false;
    }

    const int m = MatchToken(e);
    if (m == 1) {
        if (m_lexer.TokenType() == zelKW_EOFORM) {
            m_needToken = true;
            return FormSatis(e);
        }
        CZelOid* node = MakeNode(e);
        m_current = node;
        if (node) {
            // A link that already holds nodes (made for an element that then counted as
            // unmatched, such as a repeated group whose last attempt failed) keeps them:
            // the new node goes behind them.
            CZelOid** slot = top.slot;
            while (*slot)
                slot = &NextOf(*slot);
            *slot = node;
            top.status = 0;
            if (m_lexer.Depth() == 1 && m_lexer.TokenType() == zelKW_FORM && m_recordGoals) {
                if (!m_store.Goals().Add(node)) {
                    // The node is made but not recorded; the parse entry keeps it for release.
                    m_current = nullptr;
                    return kStop;
                }
            }
        } else {
            m_reporter.Report(zelERR_ONLY_ONCE, e);
            if (TypeOf(e) == zelKW_FORM)
                GotoEoform();
        }
        m_needToken = true;
    } else if (m == 2) {
        // In recovery the keyword is a problem of the enclosing form's content, reported there.
        if (m_recovery)
            return kStop;
        if (GotoEoform())
            return kStop;
        m_needToken = true;
    }
    return kGoOn;
}

}  // namespace zel

#endif
