// The steps of one form-parser level that both engines run the same way.
#include "parse/level_steps.h"
#include "zel/oid.h"
#include "zel/parser.h"

using zel::kGoOn;

// Step 3.2 after the content of a matched form has been parsed with result r.
int CZelParser::FinishFormContent(zelStackS& top, int r)
{
    const int e = top.sem;
    CZelOid* form = *top.slot;
    if (r == zel::kMatched) {
        m_current = form;
        for (CZelOid* child = form->Clink; child; child = child->Nlink)
            child->Plink = form;
    } else if (m_tokType == zelKW_EOFORM) {
        ReportError(zelERR_UNEXPECTED_EOFORM, e);
    } else {
        ReportError(zelERR_UNEXPECTED_TOKEN, e);
        ReportError(zelERR_SKIPPING_FORM, e);
        if (GotoEoform())
            return zel::kStop;
    }
    m_needToken = 1;
    if (m_tokType != zelKW_EOFORM) {
        ReportError(zelERR_EXPECTING_EOFORM, e);
        ReportError(zelERR_SKIPPING_FORM, e);
        if (GotoEoform())
            return zel::kStop;
        m_needToken = 0;
    }
    top.status = 0;
    return kGoOn;
}

// Step 5.1: a matched head of a repeating group is matched again.
bool CZelParser::RepeatsAgain(const zelStackS& top) const
{
    const int flags = m_grammar.semTable[top.sem].semType;
    return (flags & S_GRPHEAD) && (flags & S_REPG) && top.status == 0 && m_current;
}

// The link that receives the node of the element after top's element.
CZelOid** CZelParser::SuccessorSlot(const zelStackS& top) const
{
    return (top.status == 1 || !m_current) ? top.slot : &m_current->Nlink;
}

// Step 5.2's test: an unmatched required element with a successor stops the parse.
bool CZelParser::MissingRequired(const zelStackS& top)
{
    const zelSemanticS& row = m_grammar.semTable[top.sem];
    if (top.status == 1 && (row.semType & (S_REQ | S_REQG))) {
        ReportError(zelERR_EXPECTING, top.sem);
        return true;
    }
    return false;
}
