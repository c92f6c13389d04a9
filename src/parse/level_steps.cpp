// The steps of one form-parser level that both engines run the same way.
#include "diag/reporter.h"
#include "lex/lexer.h"
#include "parse/form_parser.h"
#include "parse/level_steps.h"
#include "tree/node_fields.h"

namespace zel {


// Step 3.2 after the content of a matched form has been parsed with result r.
int FormParser::FinishFormContent(StackEntry& top, int r)
{
    const int e = top.sem;
    CZelOid* form = *top.slot;
    if (r == kMatched) {
        m_current = form;
        for (CZelOid* child = ChildOf(form); child; child = NextOf(child))
            ParentOf(child) = form;
        if (m_lexer.TokenType() == zelKW_EOFORM)
            m_reporter.ReadIntoTree();  // the form closes normally
    } else if (m_lexer.TokenType() == zelKW_EOFORM) {
        m_reporter.Report(zelERR_UNEXPECTED_EOFORM, e);
    } else {
        m_reporter.Report(zelERR_UNEXPECTED_TOKEN, e);
        m_reporter.Report(zelERR_SKIPPING_FORM, e);
        if (GotoEoform())
            return kStop;
    }
    m_needToken = true;
    if (m_lexer.TokenType() != zelKW_EOFORM) {
        m_reporter.Report(zelERR_EXPECTING_EOFORM, e);
        m_reporter.Report(zelERR_SKIPPING_FORM, e);
        if (GotoEoform())
            return kStop;
        m_needToken = false;
    }
    top.status = 0;
    return kGoOn;
}

// Step 5.1: a matched head of a repeating group is matched again.
bool FormParser::RepeatsAgain(const StackEntry& top) const
{
    const int flags = Row(top.sem).semType;
    return (flags & S_GRPHEAD) && (flags & S_REPG) && top.status == 0 && m_current;
}

// The link that receives the node of the element after top's element.
CZelOid** FormParser::SuccessorSlot(const StackEntry& top) const
{
    return (top.status == 1 || !m_current) ? top.slot : &NextOf(m_current);
}

// Step 5.2's test: an unmatched required element with a successor stops the parse.
bool FormParser::MissingRequired(const StackEntry& top)
{
    const zelSemanticS& row = Row(top.sem);
    if (top.status == 1 && (row.semType & (S_REQ | S_REQG))) {
        m_reporter.Report(zelERR_EXPECTING, top.sem);
        return true;
    }
    return false;
}

}  // namespace zel
