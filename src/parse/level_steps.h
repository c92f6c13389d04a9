// Steps of one form-parser level shared by the recursive and the iterative engine.
#ifndef ZEL_PARSE_LEVEL_STEPS_H
#define ZEL_PARSE_LEVEL_STEPS_H

#include "core/conventions.h"
#include "zel/grammar.h"

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

// What step 4 does at a row with the given status, in the first run of the row or in a
// further run of its repetition.
enum AlternativeStep { kNoAlternative, kTakeAlternative, kEndUnmatched };
inline AlternativeStep StepAtAlternative(const zelSemanticS& row, int status, bool repeatedRun)
{
    // A first row of an alternative that matched in an earlier run has chosen its own
    // alternative: the rest of it follows.
    if (status != 1 || (repeatedRun && (row.attributes & (kAlternativeEndsLevel | kUnmatchedEndsLevel))))
        return kNoAlternative;
    if (row.alt)
        return kTakeAlternative;
    return (row.attributes & kUnmatchedEndsLevel) ? kEndUnmatched : kNoAlternative;
}

// Whether the level of a row ends once its alternatives have been tried, with the status
// they leave it: the successor of a first row of an alternative belongs to it alone.
inline bool EndsAfterAlternatives(const zelSemanticS& row, int status)
{
    return (row.attributes & (status == 0 ? kAlternativeEndsLevel : kUnmatchedEndsLevel)) != 0;
}

// Hands the result of a finished level to the entry below it, which was pushed with the
// given resume code for any step but a form's content. Returns where that entry, at the
// row given, goes on.
inline Phase HandOver(const zelSemanticS& belowRow, short& belowStatus, short resume, int result)
{
    if (resume != kResumeRepetition && result == kMatched)
        belowStatus = 0;
    if (resume == kResumeComposite)
        return kTryAlternative;
    if (resume == kResumeAlternative)
        return EndsAfterAlternatives(belowRow, belowStatus) ? kYieldStatus : kRepeatOrNext;
    return kYieldStatus;
}

}  // namespace zel

#endif
