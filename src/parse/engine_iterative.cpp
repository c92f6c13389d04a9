// ParseFile2: the iterative engine. It runs the same steps as ParseFile in one loop;
// a sub-parse is a push with a resume code that says where the entry below continues.
#include "parse/level_steps.h"
#include "zel/oid.h"
#include "zel/parser.h"

namespace {

// Resume codes: where the entry below continues when the entry pushed with it ends.
enum Resume : short {
    kCaller = 0,
    kAfterComposite = 1,
    kAfterContent = 2,
    kAfterAlternative = 3,
    kAfterRepetition = 4,
    kAfterSuccessor = 5
};

// Where to continue in the entry at the top of the stack.
enum Phase { kStartLevel, kAlternative, kRepeatOrNext, kYieldStatus };

}  // namespace

int CZelParser::ParseFile2()
{
    Phase phase = kStartLevel;
    for (;;) {
        zelStackS& top = m_stack[m_top];
        const zelSemanticS& row = m_grammar.semTable[top.sem];
        int result = zel::kGoOn;

        switch (phase) {
        case kStartLevel: {
            result = MatchStep(top);
            if (result != zel::kGoOn)
                break;
            // 3. Expand a composite, or the content of a matched form.
            const int type = GetSemanticKeywordType(top.sem);
            if (type == zelKW_COMPOSITE) {
                if (!PushStack(GetSemanticHead(top.sem), top.slot, kAfterComposite))
                    return zel::kInternal;
                continue;
            }
            if (type == zelKW_FORM && top.status == 0) {
                if (!PushStack(GetSemanticHead(top.sem), &m_current->Clink, kAfterContent))
                    return zel::kInternal;
                continue;
            }
        }
            // fall through
        case kAlternative:
            // 4. Alternative.
            if (row.alt && top.status == 1) {
                if (!PushStack(row.alt, top.slot, kAfterAlternative))
                    return zel::kInternal;
                phase = kStartLevel;
                continue;
            }
            // fall through
        case kRepeatOrNext:
            // 5. Repeat on a new entry, or continue with the successor.
            if (RepeatsAgain(top)) {
                if (!PushStack(top.sem, &m_current->Nlink, kAfterRepetition))
                    return zel::kInternal;
                phase = kStartLevel;
                continue;
            }
            if (row.next) {
                if (MissingRequired(top))
                    return zel::kStop;
                if (!PushStack(row.next, SuccessorSlot(top), kAfterSuccessor))
                    return zel::kInternal;
                phase = kStartLevel;
                continue;
            }
            // fall through
        case kYieldStatus:
            result = top.status;
            break;
        }

        // The entry at the top has its result: hand it to the entry below.
        if (result == zel::kStop || result == zel::kInternal)
            return result;
        const short resume = top.resume;
        if (resume == kCaller)
            return result;
        if (PopStack())
            return zel::kInternal;
        zelStackS& below = m_stack[m_top];
        switch (resume) {
        case kAfterComposite:
            if (result == zel::kMatched)
                below.status = 0;
            phase = kAlternative;
            break;
        case kAfterContent:
            if (FinishFormContent(below, result) == zel::kStop)
                return zel::kStop;
            phase = kAlternative;
            break;
        case kAfterAlternative:
            if (result == zel::kMatched)
                below.status = 0;
            phase = kRepeatOrNext;
            break;
        case kAfterRepetition:
            phase = kYieldStatus;
            break;
        default:  // kAfterSuccessor
            if (result == zel::kMatched)
                below.status = 0;
            phase = kYieldStatus;
            break;
        }
    }
}
