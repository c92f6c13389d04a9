// Grammar searches for node insertion. They walk the grammar from the position at the
// top of the parse stack the way the form parser would, without reading input: each
// entry is pushed with the resume code of the step that pushed it and popped once when
// its level ends, and the walk never leaves the rule of the bottom entry's element.
#include "parse/level_steps.h"
#include "parse/stack.h"
#include "zel/parser.h"

// Finds the next element after the position at the top of the stack that accepts the
// sought item: the target element (BuildStack) or the current token (VerifySemantic).
// The top entry is either an element still to be tried (status 1) or the element that
// the previous item matched (status 0). On success the element is on top, matched, and
// its index is returned; otherwise -1, with the stack left where the walk stopped.
int CZelParser::SearchNext(int target, bool byToken)
{
    if (!m_stack || m_top < 0)
        return -1;
    const int base = m_top;
    zel::Phase phase = m_stack[m_top].status == 1 ? zel::kTryElement : zel::kRepeatOrNext;
    for (;;) {
        zelStackS& top = m_stack[m_top];
        const zelSemanticS& row = m_grammar.semTable[top.sem];
        int result = 0;
        switch (phase) {
        case zel::kTryElement: {
            const int type = GetSemanticKeywordType(top.sem);
            if (m_top == 0 && type == zelKW_FORM) {
                // The bottom entry is the parent: the walk enters its rule, for tokens.
                if (!byToken || !PushStack(GetSemanticHead(top.sem), nullptr, zel::kResumeContent))
                    return -1;
                continue;
            }
            const int m = byToken ? SemMatch(top.sem) : (top.sem == target ? 1 : 0);
            if (m == 1) {
                top.status = 0;
                return top.sem;
            }
            if (m == 2)
                return -1;
            if (type == zelKW_COMPOSITE && (byToken || !EntersAgain(GetSemanticHead(top.sem), base))) {
                if (!PushStack(GetSemanticHead(top.sem), nullptr, zel::kResumeComposite))
                    return -1;
                continue;
            }
        }
            // fall through
        case zel::kTryAlternative:
            if (row.alt && top.status == 1) {
                if (!PushStack(row.alt, nullptr, zel::kResumeAlternative))
                    return -1;
                phase = zel::kTryElement;
                continue;
            }
            // fall through
        case zel::kRepeatOrNext:
            if ((row.semType & S_GRPHEAD) && (row.semType & S_REPG) && top.status == 0) {
                if (!PushStack(top.sem, nullptr, zel::kResumeRepetition))
                    return -1;
                phase = zel::kTryElement;
                continue;
            }
            if (row.next) {
                // A new item cannot pass a required element that no earlier item filled;
                // the replay of existing nodes takes the tree as it stands.
                if (byToken && top.status == 1 && (row.semType & (S_REQ | S_REQG)))
                    return -1;
                if (!PushStack(row.next, nullptr, zel::kResumeSuccessor))
                    return -1;
                phase = zel::kTryElement;
                continue;
            }
            // fall through
        case zel::kYieldStatus:
            result = top.status;
            break;
        }

        // The level at the top has ended without finding the item.
        const short resume = top.resume;
        if (resume == zel::kResumeCaller || resume == zel::kResumeContent || PopStack())
            return -1;
        phase = zel::HandOver(m_stack[m_top].status, resume, result);
    }
}

// True when this search has entered the rule that starts at head already, above the entry
// at base. The search for a target passes required elements, so it can come back into a
// composite's rule without anything found in between; entering it again would only repeat
// the walk without end, and the composite counts as not holding the target.
bool CZelParser::EntersAgain(int head, int base) const
{
    for (int i = m_top; i > base; --i)
        if (m_stack[i].sem == head && m_stack[i].resume == zel::kResumeComposite)
            return true;
    return false;
}

// Starts a search in the rule of a parent node: the parent's element at the bottom and
// the first element of its rule, not yet tried, above it.
int CZelParser::StartRuleSearch(int parentSem)
{
    m_top = -1;
    if (!PushStack(parentSem, nullptr, zel::kResumeCaller))
        return 0;
    return PushStack(GetSemanticHead(parentSem), nullptr, zel::kResumeContent);
}

int CZelParser::BuildStack(int target)
{
    if (!m_stack || m_top < 0)
        return 0;
    zelStackS& top = m_stack[m_top];
    if (top.sem == target && top.status == 1) {
        top.status = 0;
        return 1;
    }
    return SearchNext(target, false) >= 0 ? 1 : 0;
}

int CZelParser::VerifySemantic() { return SearchNext(-1, true); }
