// ParseFile2: the iterative engine. It runs the same steps as ParseFile in one loop;
// a sub-parse is a push with a resume code that says where the entry below continues.
#include "parse/match_step.h"

namespace zel {

__attribute__((noinline)) int FormParser::ParseFile2()
{
    m_problemReported = false;
    Phase phase = kTryElement;
    for (;;) {
        StackEntry& top = m_stack.Top();
        const zelSemanticS& row = Row(top.sem);
        int result = kGoOn;

        switch (phase) {
        case kTryElement: {
            result = MatchStep(top);
            if (result != kGoOn)
                break;
            // 3. Expand a composite, or the content of a matched form.
            const int type = TypeOf(top.sem);
            if (type == zelKW_COMPOSITE) {
                if (!m_stack.Push(HeadOf(top.sem), top.slot, kResumeComposite))
                    return kInternal;
                continue;
            }
            if (type == zelKW_FORM && top.status == 0) {
                m_formDepth = m_lexer.Depth();
                if (!m_stack.Push(HeadOf(top.sem), &ChildOf(m_current), kResumeContent))
                    return kInternal;
                continue;
            }
        }
            // fall through
        case kTryAlternative: {
            // 4. Alternative.
            const AlternativeStep step = StepAtAlternative(row, top.status, top.resume == kResumeRepetition);
            if (step == kTakeAlternative) {
                if (!m_stack.Push(row.alt, top.slot, kResumeAlternative))
                    return kInternal;
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
            // 5. Repeat on a new entry, or continue with the successor.
            if (RepeatsAgain(top)) {
                if (!m_stack.Push(top.sem, &NextOf(m_current), kResumeRepetition))
                    return kInternal;
                phase = kTryElement;
                continue;
            }
            if (row.next) {
                if (MissingRequired(top)) {
                    result = kStop;
                    break;
                }
                if (!m_stack.Push(row.next, SuccessorSlot(top), kResumeSuccessor))
                    return kInternal;
                phase = kTryElement;
                continue;
            }
            // fall through
        case kYieldStatus:
            result = top.status;
            break;
        }

        // The entry at the top has its result: hand it to the entry below. In recovery a
        // stop inside a form's content ends that content alone.
        if (result == kStop || result == kInternal) {
            if (result == kInternal || !m_recovery || !ResumeAfterStop())
                return result;
            phase = kTryAlternative;
            continue;
        }
        const short resume = top.resume;
        if (resume == kResumeCaller)
            return result;
        if (m_stack.Pop())
            return kInternal;
        StackEntry& below = m_stack.Top();
        if (resume == kResumeContent) {
            if (FinishFormContent(below, result) == kStop)
                return kStop;
            phase = kTryAlternative;
        } else {
            phase = HandOver(Row(below.sem), below.status, resume, result);
        }
    }
}

}  // namespace zel
