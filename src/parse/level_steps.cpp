// The steps of one form-parser level that both engines run the same way.
#include "diag/reporter.h"
#include "lex/lexer.h"
#include "parse/form_parser.h"
#include "parse/level_steps.h"
#include "tree/node_fields.h"

namespace zel {

// The form becomes the current object and the parent of every node on its child chain.
__attribute__((always_inline)) inline void FormParser::AdoptChildren(CZelOid* form)
{
    m_current = form;
    for (CZelOid* child = ChildOf(form); child; child = NextOf(child))
        ParentOf(child) = form;
}

// Recovery, after the content of the matched form at top went wrong (r: the content's
// result; kMatched when a token other than ")" follows complete content). The problem is
// reported unless that was done where it arose, the rest of the form is skipped up to its
// own ")", and the form counts as read with the children made before the problem. Returns
// kStop when the input has ended, else kGoOn.
__attribute__((noinline, cold)) int FormParser::RecoverFormEnd(StackEntry& top, int r)
{
    if (m_lexer.InputEnded())
        return kStop;
    const int e = top.sem;
    // The token at hand is the form's own ")" when it took the depth below the form's.
    const bool closed = m_lexer.Depth() < m_formDepth;
    if (!m_problemReported) {
        if (closed) {
            m_reporter.Report(zelERR_UNEXPECTED_EOFORM, e);
        } else {
            m_reporter.Report(r == kMatched ? zelERR_EXPECTING_EOFORM : zelERR_UNEXPECTED_TOKEN, e);
            m_reporter.Report(zelERR_SKIPPING_FORM, e);
        }
    }
    m_problemReported = false;
    if (!closed && !SkipTo(m_formDepth - 1))
        return kStop;
    AdoptChildren(*top.slot);
    m_reporter.ReadIntoTree();  // the next report is about another problem
    m_needToken = true;
    m_formDepth = m_lexer.Depth();
    top.status = 0;
    return kGoOn;
}

// Recovery in the iterative engine after a stop: pops the entries above the content of the
// innermost form being read, and that content's entry, and recovers that form, whose entry
// is then at the top. False when the parse stops: no form of this run is open, or the
// input has ended.
__attribute__((noinline, cold)) bool FormParser::ResumeAfterStop()
{
    if (m_lexer.InputEnded())
        return false;
    int i = m_stack.TopIndex();
    while (i >= 0 && m_stack.At(i).resume != kResumeContent && m_stack.At(i).resume != kResumeCaller)
        --i;
    if (i < 0 || m_stack.At(i).resume != kResumeContent)
        return false;
    while (m_stack.TopIndex() >= i)
        m_stack.Pop();
    return RecoverFormEnd(m_stack.Top(), kStop) != kStop;
}

// Step 3.2 after the content of a matched form has been parsed with result r.
int FormParser::FinishFormContent(StackEntry& top, int r)
{
    const int e = top.sem;
    if (r == kMatched) {
        AdoptChildren(*top.slot);
        if (m_lexer.TokenType() == zelKW_EOFORM)
            m_reporter.ReadIntoTree();  // the form closes normally
    } else if (m_recovery) {
        return RecoverFormEnd(top, r);
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
        if (m_recovery)
            return RecoverFormEnd(top, r);
        m_reporter.Report(zelERR_EXPECTING_EOFORM, e);
        m_reporter.Report(zelERR_SKIPPING_FORM, e);
        if (GotoEoform())
            return kStop;
        m_needToken = false;
    }
    m_formDepth = m_lexer.Depth();
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
        m_problemReported = true;
        return true;
    }
    return false;
}

}  // namespace zel
