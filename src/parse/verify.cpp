// Grammar searches for node insertion. They walk the grammar from the position at the
// top of the parse stack the way the form parser would, without reading input: each
// entry is pushed with the resume code of the step that pushed it and popped once when
// its level ends, and the walk never leaves the rule of the bottom entry's element.
#include "parse/level_steps.h"
#include "zel/parser.h"

namespace {

enum SearchResume : short {
    kBottom = 0,
    kInComposite = 1,
    kInContent = 2,
    kInAlternative = 3,
    kInRepetition = 4,
    kInSuccessor = 5
};

enum SearchPhase { kTry, kAlternative, kRepeatOrNext, kYield };

}  // namespace

// Finds the next element after the position at the top of the stack that accepts the
// sought item: the target element (BuildStack) or the current token (VerifySemantic).
// The top entry is either an element still to be tried (status 1) or the element that
// the previous item matched (status 0). On success the element is on top, matched, and
// its index is returned; otherwise -1, with the stack left where the walk stopped.
int CZelParser::SearchNext(int target, bool byToken)
{
    if (!m_stack || m_top < 0)
        return -1;
    SearchPhase phase = m_stack[m_top].status == 1 ? kTry : kRepeatOrNext;
    for (;;) {
        zelStackS& top = m_stack[m_top];
        const zelSemanticS& row = m_grammar.semTable[top.sem];
        int result = 0;
        switch (phase) {
        case kTry: {
            const int type = GetSemanticKeywordType(top.sem);
            if (m_top == 0 && type == zelKW_FORM) {
                // The bottom entry is the parent: the walk enters its rule, for tokens.
                if (!byToken || !PushStack(GetSemanticHead(top.sem), nullptr, kInContent))
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
            if (type == zelKW_COMPOSITE) {
                if (!PushStack(GetSemanticHead(top.sem), nullptr, kInComposite))
                    return -1;
                continue;
            }
        }
            // fall through
        case kAlternative:
            if (row.alt && top.status == 1) {
                if (!PushStack(row.alt, nullptr, kInAlternative))
                    return -1;
                phase = kTry;
                continue;
            }
            // fall through
        case kRepeatOrNext:
            if ((row.semType & S_GRPHEAD) && (row.semType & S_REPG) && top.status == 0) {
                if (!PushStack(top.sem, nullptr, kInRepetition))
                    return -1;
                phase = kTry;
                continue;
            }
            if (row.next) {
                // A new item cannot pass a required element that no earlier item filled;
                // the replay of existing nodes takes the tree as it stands.
                if (byToken && top.status == 1 && (row.semType & (S_REQ | S_REQG)))
                    return -1;
                if (!PushStack(row.next, nullptr, kInSuccessor))
                    return -1;
                phase = kTry;
                continue;
            }
            // fall through
        case kYield:
            result = top.status;
            break;
        }

        // The level at the top has ended without finding the item.
        const short resume = top.resume;
        if (resume == kBottom || resume == kInContent || PopStack())
            return -1;
        zelStackS& below = m_stack[m_top];
        switch (resume) {
        case kInComposite:
            if (result == 0)
                below.status = 0;
            phase = kAlternative;
            break;
        case kInAlternative:
            if (result == 0)
                below.status = 0;
            phase = kRepeatOrNext;
            break;
        case kInRepetition:
            phase = kYield;
            break;
        default:  // kInSuccessor
            if (result == 0)
                below.status = 0;
            phase = kYield;
            break;
        }
    }
}

// Starts a search in the rule of a parent node: the parent's element at the bottom and
// the first element of its rule, not yet tried, above it.
int CZelParser::StartRuleSearch(int parentSem)
{
    m_top = -1;
    if (!PushStack(parentSem, nullptr, kBottom))
        return 0;
    return PushStack(GetSemanticHead(parentSem), nullptr, kInContent);
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
