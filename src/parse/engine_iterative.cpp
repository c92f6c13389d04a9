// ParseFile2: the iterative engine. It runs the same steps as ParseFile in one loop;
// a sub-parse is a push with a resume code that says where the entry below continues.
#include "parse/match_step.h"
#include "parse/stack.h"
#include "zel/oid.h"
#include "zel/parser.h"

int CZelParser::ParseFile2()
{
    zel::Phase phase = zel::kTryElement;
    for (;;) {
        zelStackS& top = m_stack[m_top];
        const zelSemanticS& row = m_grammar.semTable[top.sem];
        int result = zel::kGoOn;

        switch (phase) {
        case zel::kTryElement: {
            result = MatchStep(top);
            if (result != zel::kGoOn)
                break;
            // 3. Expand a composite, or the content of a matched form.
            const int type = GetSemanticKeywordType(top.sem);
            if (type == zelKW_COMPOSITE) {
                if (!PushStack(GetSemanticHead(top.sem), top.slot, zel::kResumeComposite))
                    return zel::kInternal;
                continue;
            }
            if (type == zelKW_FORM && top.status == 0) {
                if (!PushStack(GetSemanticHead(top.sem), &m_current->Clink, zel::kResumeContent))
                    return zel::kInternal;
                continue;
            }
        }
            // fall through
        case zel::kTryAlternative:
            // 4. Alternative.
            if (row.alt && top.status == 1) {
                if (!PushStack(row.alt, top.slot, zel::kResumeAlternative))
                    return zel::kInternal;
                phase = zel::kTryElement;
                continue;
            }
            // fall through
        case zel::kRepeatOrNext:
            // 5. Repeat on a new entry, or continue with the successor.
            if (RepeatsAgain(top)) {
                if (!PushStack(top.sem, &m_current->Nlink, zel::kResumeRepetition))
                    return zel::kInternal;
                phase = zel::kTryElement;
                continue;
            }
            if (row.next) {
                if (MissingRequired(top))
                    return zel::kStop;
                if (!PushStack(row.next, SuccessorSlot(top), zel::kResumeSuccessor))
                    return zel::kInternal;
                phase = zel::kTryElement;
                continue;
            }
            // fall through
        case zel::kYieldStatus:
            result = top.status;
            break;
        }

        // The entry at the top has its result: hand it to the entry below.
        if (result == zel::kStop || result == zel::kInternal)
            return result;
        const short resume = top.resume;
        if (resume == zel::kResumeCaller)
            return result;
        if (PopStack())
            return zel::kInternal;
        zelStackS& below = m_stack[m_top];
        if (resume == zel::kResumeContent) {
            if (FinishFormContent(below, result) == zel::kStop)
                return zel::kStop;
            phase = zel::kTryAlternative;
        } else {
            phase = zel::HandOver(below.status, resume, result);
        }
    }
}
