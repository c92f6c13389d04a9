// Steps of one form-parser level shared by the recursive and the iterative engine.
#ifndef ZEL_PARSE_LEVEL_STEPS_H
#define ZEL_PARSE_LEVEL_STEPS_H

#include "core/conventions.h"

namespace zel {

// A step that does not end its level returns this instead of a level result.
const int kGoOn = -1;

// Resume codes of parse-stack entries: the step of the entry below that pushed the
// entry, and so where that entry goes on when the pushed level ends.
enum Resume : short {
    kResumeCaller = 0,       // the start entry
    kResumeComposite = 1,    // the head of a composite
    kResumeContent = 2,      // the content of a form
    kResumeAlternative = 3,  // an alternative
    kResumeRepetition = 4,   // a further repetition of a group
    kResumeSuccessor = 5     // the successor in a sequence
};

// Where an iterative walk continues in the entry at the top of the stack.
enum Phase { kTryElement, kTryAlternative, kRepeatOrNext, kYieldStatus };

// Hands the result of a finished level to the entry below it, which was pushed with the
// given resume code for any step but a form's content. Returns where that entry goes on.
inline Phase HandOver(short& belowStatus, short resume, int result)
{
    if (resume != kResumeRepetition && result == kMatched)
        belowStatus = 0;
    if (resume == kResumeComposite)
        return kTryAlternative;
    if (resume == kResumeAlternative)
        return kRepeatOrNext;
    return kYieldStatus;
}

}  // namespace zel

#endif
