// ParseFile: the recursive engine. Every sub-parse is a call of itself; a repeated
// group runs again in a loop on the same entry.
#include "parse/match_step.h"

namespace zel {

namespace {

// Deepest nesting of levels the recursive engine enters; deeper input fails with a
// stack overflow report instead of exhausting the machine stack.
const int kMaxRecursion = 6000;

}  // namespace

int FormParser::ParseFile()
{
    m_problemReported = false;
    return ParseFileLevel(0);
}

// Pushes (sem, slot), parses that level and pops it. Returns the sub-level's result.
__attribute__((always_inline)) inline int FormParser::SubParse(int sem, CZelOid** slot, int depth)
{
    if (!m_stack.Push(sem, slot, 0))
        return kInternal;
    const int r = ParseFileLevel(depth + 1);
    if (m_stack.Pop())
        return kInternal;
    return r;
}

// Parses the chain of alternatives that starts at alt, as SubParse(alt) does. An
// alternative whose level could only end unmatched at once (a plain element that the token
// at hand does not match, with no successor) hands over to its own alternative without a
// level of its own: its entry is pushed and popped, so that the stack grows and overflows
// exactly as it would, but nothing else of the level runs.
int FormParser::ParseAlternatives(int alt, CZelOid** slot, int depth)
{
    int skipped = 0;
    while (alt && !m_needToken && !m_lexer.InputEnded() && Row(alt).next == 0 &&
           TypeOf(alt) != zelKW_COMPOSITE && MatchToken(alt) == 0) {
        if (!m_stack.Push(alt, slot, 0))
            return kInternal;
        ++skipped;
        alt = Row(alt).alt;
    }
    const int r = alt ? SubParse(alt, slot, depth + skipped) : kUnmatched;
    for (; skipped > 0; --skipped)
        if (m_stack.Pop())
            return kInternal;
    return r;
}

int FormParser::ParseFileLevel(int depth)
{
    if (depth > kMaxRecursion) {
        m_reporter.Report(zelERR_STACK_OVERFLOW, 0);
        return kInternal;
    }
    // The level works on its own copy of its entry, which nothing else reads while the
    // level runs: a sub-parse may move the stack when it grows.
    StackEntry top = m_stack.Top();
    const int e = top.sem;
    const zelSemanticS& row = Row(e);
    const int type = TypeOf(e);
    int runs = 0;
    for (;;) {
        ++runs;
        int r = MatchStep(top);
        if (r != kGoOn)
            return runs > 1 && r < kStop ? LevelEnd(top.status, runs) : r;

        // 3. Expand a composite, or the content of a matched form.
        if (type == zelKW_COMPOSITE) {
            r = SubParse(HeadOf(e), top.slot, depth);
            if (r == kInternal || r == kStop)
                return r;
            if (r == kMatched)
                top.status = 0;
        } else if (type == zelKW_FORM && top.status == 0) {
            m_formDepth = m_lexer.Depth();
            r = SubParse(HeadOf(e), &ChildOf(m_current), depth);
            if (r == kInternal)
                return r;
            if (FinishFormContent(top, r) == kStop)
                return kStop;
        }

        // 4. Alternative.
        const AlternativeStep step = StepAtAlternative(row, top.status, runs > 1);
        if (step == kTakeAlternative) {
            r = ParseAlternatives(row.alt, top.slot, depth);
            if (r == kInternal || r == kStop)
                return r;
            if (r == kMatched)
                top.status = 0;
            if (EndsAfterAlternatives(row, top.status))
                return LevelEnd(top.status, runs);
        } else if (step == kEndUnmatched) {
            return LevelEnd(top.status, runs);
        }

        // 5. Repeat, or continue with the successor.
        if (RepeatsAgain(top)) {
            top.slot = &NextOf(m_current);
            top.status = 1;
            continue;
        }
        if (row.next) {
            if (MissingRequired(top))
                return kStop;
            r = SubParse(row.next, SuccessorSlot(top), depth);
            if (r == kInternal || r == kStop)
                return r;
            if (r == kMatched)
                top.status = 0;
        }
        return LevelEnd(top.status, runs);
    }
}

}  // namespace zel
