// Grammar searches for node insertion. They walk the grammar from the position at the
// top of the parse stack the way the form parser would, without reading input: each
// entry is pushed with the resume code of the step that pushed it and popped once when
// its level ends, and the walk never leaves the rule of the bottom entry's element.
#include "parse/grammar_search.h"

#include "core/grammar_tables.h"
#include "lex/lexer.h"
#include "parse/level_steps.h"
#include "parse/match_element.h"

namespace zel {

// Finds the next element after the position at the top of the stack that accepts the
// sought item: the target element (Pass) or the given token (Find).
// The top entry is either an element still to be tried (status 1) or the element that
// the previous item matched (status 0). On success the element is on top, matched, and
// its index is returned; otherwise -1, with the stack left where the walk stopped.
int GrammarSearch::SearchNext(int target, Token* token)
{
    if (!m_stack.Allocated() || m_stack.TopIndex() < 0)
        return -1;
    const bool byToken = token != nullptr;
    const int base = m_stack.TopIndex();
    Phase phase = m_stack.Top().status == 1 ? kTryElement : kRepeatOrNext;
    for (;;) {
        StackEntry& top = m_stack.Top();
        const zelSemanticS& row = m_grammar.Row(top.sem);
        int result = 0;
        switch (phase) {
        case kTryElement: {
            const int type = m_grammar.ElementType(top.sem);
            if (m_stack.TopIndex() == 0 && type == zelKW_FORM) {
                // The bottom entry is the parent: the walk enters its rule, for tokens.
                if (!byToken || !m_stack.Push(m_grammar.ElementHead(top.sem), nullptr, kResumeContent))
                    return -1;
                continue;
            }
            const int m = byToken ? MatchElement(m_grammar.Tables(), m_grammar.Names(), *token, top.sem) : (top.sem == target ? 1 : 0);
            if (m == 1) {
                top.status = 0;
                return top.sem;
            }
            if (m == 2)
                return -1;
            if (type == zelKW_COMPOSITE && (byToken || !EntersAgain(m_grammar.ElementHead(top.sem), base))) {
                if (!m_stack.Push(m_grammar.ElementHead(top.sem), nullptr, kResumeComposite))
                    return -1;
                continue;
            }
        }
            // fall through
        case kTryAlternative: {
            const AlternativeStep step = StepAtAlternative(row, top.status, top.resume == kResumeRepetition);
            if (step == kTakeAlternative) {
                if (!m_stack.Push(row.alt, nullptr, kResumeAlternative))
                    return -1;
                phase = kTryElement;
                continue;
            }
            if (step == kEndUnmatched) {
                result = top.status;
                break;
            }
        }
            // fall through
        case kRepeatOrNext:
            if ((row.semType & S_GRPHEAD) && (row.semType & S_REPG) && top.status == 0) {
                if (!m_stack.Push(top.sem, nullptr, kResumeRepetition))
                    return -1;
                phase = kTryElement;
                continue;
            }
            if (row.next) {
                // A new item cannot pass a required element that no earlier item filled;
                // the replay of existing nodes takes the tree as it stands.
                if (byToken && top.status == 1 && (row.semType & (S_REQ | S_REQG)))
                    return -1;
                if (!m_stack.Push(row.next, nullptr, kResumeSuccessor))
                    return -1;
                phase = kTryElement;
                continue;
            }
            // fall through
        case kYieldStatus:
            result = top.status;
            break;
        }

        // The level at the top has ended without finding the item.
        const short resume = top.resume;
        if (resume == kResumeCaller || resume == kResumeContent || m_stack.Pop())
            return -1;
        phase = HandOver(m_grammar.Row(m_stack.Top().sem), m_stack.Top().status, resume, result);
    }
}

// True when this search has entered the rule that starts at head already, above the entry
// at base. The search for a target passes required elements, so it can come back into a
// composite's rule without anything found in between; entering it again would only repeat
// the walk without end, and the composite counts as not holding the target.
bool GrammarSearch::EntersAgain(int head, int base) const
{
    for (int i = m_stack.TopIndex(); i > base; --i)
        if (m_stack.At(i).sem == head && m_stack.At(i).resume == kResumeComposite)
            return true;
    return false;
}

// Starts a search in the rule of a parent node: the parent's element at the bottom and
// the first element of its rule, not yet tried, above it.
bool GrammarSearch::Start(int parentSem)
{
    m_stack.Clear();
    if (!m_stack.Push(parentSem, nullptr, kResumeCaller))
        return false;
    return m_stack.Push(m_grammar.ElementHead(parentSem), nullptr, kResumeContent) != 0;
}

bool GrammarSearch::Pass(int target)
{
    if (!m_stack.Allocated() || m_stack.TopIndex() < 0)
        return false;
    StackEntry& top = m_stack.Top();
    if (top.sem == target && top.status == 1) {
        top.status = 0;
        return true;
    }
    return SearchNext(target, nullptr) >= 0;
}

int GrammarSearch::Find(Token& token) { return SearchNext(-1, &token); }

int GrammarSearch::FindAppendRow(const GrammarTables& grammar, int start, int keyword, bool orWord)
{
    if (start < 0)
        return -1;
    const auto takes = [&](int k) { return k == keyword || (orWord && grammar.KeywordType(k) == zelKW_WORDTOK); };
    for (int row = start; row < grammar.RowCount(); ++row) {
        const zelSemanticS& s = grammar.Row(row);
        if (s.keywordId == kEndOfFormRow)
            return -1;
        if (takes(s.keywordId))
            return row;
        if (grammar.KeywordType(s.keywordId) == zelKW_COMPOSITE) {
            for (int member = grammar.KeywordHead(s.keywordId); member > 0 && member < grammar.RowCount(); ++member) {
                if (takes(grammar.Row(member).keywordId))
                    return member;
                if (grammar.Row(member).alt == kNoLink)
                    break;
            }
        }
    }
    return -1;
}

}  // namespace zel
