// ParseFile: the recursive engine. Every sub-parse is a call of itself; a repeated
// group runs again in a loop on the same entry.
#include "parse/match_element.h"
#include "parse/match_step.h"
#include "parse/stack.h"
#include "zel/oid.h"
#include "zel/parser.h"

namespace {

// Deepest nesting of levels the recursive engine enters; deeper input fails with a
// stack overflow report instead of exhausting the machine stack.
const int kMaxRecursion = 6000;

}  // namespace

int CZelParser::ParseFile() { return ParseFileLevel(0); }

// Pushes (sem, slot), parses that level and pops it. Returns the sub-level's result.
__attribute__((always_inline)) inline int CZelParser::SubParse(int sem, CZelOid** slot, int depth)
{
    if (!PushStack(sem, slot, 0))
        return zel::kInternal;
    const int r = ParseFileLevel(depth + 1);
    if (PopStack())
        return zel::kInternal;
    return r;
}

// Parses the chain of alternatives that starts at alt, as SubParse(alt) does. An
// alternative whose level could only end unmatched at once (a plain element that the token
// at hand does not match, with no successor) hands over to its own alternative without a
// level of its own: its entry is pushed and popped, so that the stack grows and overflows
// exactly as it would, but nothing else of the level runs.
int CZelParser::ParseAlternatives(int alt, CZelOid** slot, int depth)
{
    int skipped = 0;
    while (alt && !m_needToken && !m_inputEnded && m_grammar.semTable[alt].next == 0 &&
           GetSemanticKeywordType(alt) != zelKW_COMPOSITE && MatchElement(alt) == 0) {
        if (!PushStack(alt, slot, 0))
            return zel::kInternal;
        ++skipped;
        alt = m_grammar.semTable[alt].alt;
    }
    const int r = alt ? SubParse(alt, slot, depth + skipped) : zel::kUnmatched;
    for (; skipped > 0; --skipped)
        if (PopStack())
            return zel::kInternal;
    return r;
}

int CZelParser::ParseFileLevel(int depth)
{
    if (depth > kMaxRecursion) {
        ReportError(zelERR_STACK_OVERFLOW, 0);
        return zel::kInternal;
    }
    // The level works on its own copy of its entry, which nothing else reads while the
    // level runs: a sub-parse may move the stack when it grows.
    zelStackS top = m_stack[m_top];
    const int e = top.sem;
    const zelSemanticS& row = m_grammar.semTable[e];
    const int type = GetSemanticKeywordType(e);
    int runs = 0;
    for (;;) {
        ++runs;
        int r = MatchStep(top);
        if (r != zel::kGoOn)
            return runs > 1 && r < zel::kStop ? top.status : r;

        // 3. Expand a composite, or the content of a matched form.
        if (type == zelKW_COMPOSITE) {
            r = SubParse(GetSemanticHead(e), top.slot, depth);
            if (r == zel::kInternal || r == zel::kStop)
                return r;
            if (r == zel::kMatched)
                top.status = 0;
        } else if (type == zelKW_FORM && top.status == 0) {
            r = SubParse(GetSemanticHead(e), &m_current->Clink, depth);
            if (r == zel::kInternal)
                return r;
            if (FinishFormContent(top, r) == zel::kStop)
                return zel::kStop;
        }

        // 4. Alternative.
        if (row.alt && top.status == 1) {
            r = ParseAlternatives(row.alt, top.slot, depth);
            if (r == zel::kInternal || r == zel::kStop)
                return r;
            if (r == zel::kMatched)
                top.status = 0;
        }

        // 5. Repeat, or continue with the successor.
        if (RepeatsAgain(top)) {
            top.slot = &m_current->Nlink;
            top.status = 1;
            continue;
        }
        if (row.next) {
            if (MissingRequired(top))
                return zel::kStop;
            r = SubParse(row.next, SuccessorSlot(top), depth);
            if (r == zel::kInternal || r == zel::kStop)
                return r;
            if (r == zel::kMatched)
                top.status = 0;
        }
        return top.status;
    }
}
