// The conventions every grammar follows, named once for the library and the grammar
// compiler: the fixed keyword rows, the fixed semantic rows, the error states that
// GetErrno returns and the results of a form-parser level.
#ifndef ZEL_CORE_CONVENTIONS_H
#define ZEL_CORE_CONVENTIONS_H

namespace zel {

// Keyword rows 0 to 7 of every grammar.
enum FixedKeyword : int {
    kNoKeyword = 0,       // the row of no keyword
    kEndOfFormRow = 1,    // ")": a semantic row of this keyword ends a rule
    kIdentKeyword = 2,    // the value keyword of identifiers
    kIntKeyword = 3,      // of integers
    kRealKeyword = 4,     // of reals
    kStringKeyword = 5,   // of strings
    kReservedKeyword = 6,
    kGoalKeyword = 7,     // the goal: its rule is the start of every top-level form
    kFixedKeywords = 8    // a grammar has at least this many keyword rows
};

// Semantic rows: row 0 is never linked to (0 in alt and next means no link); the goal's
// alternatives are the consecutive rows from kFirstGoalRow on.
const int kNoLink = 0;
const int kFirstGoalRow = 1;
// A semantic row whose flag word is exactly this ends the scans of the symbol operations.
const int kMemberScanEnd = 0x01;  // S_REQ alone
// Attribute bits of the first row of an alternative whose successor belongs to that
// alternative alone; the grammar compiler sets them, and a row without them is walked as
// it always was. When the row's alternative matched instead of the row, the row's level
// ends there, matched, and a repetition of the row does not try the alternative again.
const int kAlternativeEndsLevel = 0x200;
// When neither the row nor its alternative matched, the level ends there, unmatched: the
// row is required in its own alternative, which the compiler marks S_OPT so that a group
// that matches nothing fails without a report.
const int kUnmatchedEndsLevel = 0x400;

// Error states that GetErrno returns.
enum ErrorState : int {
    kStateNone = 0,
    kStateMissingGoal = 2,  // zelERR_MISSING_GOAL
    kStateNoForm = 3,       // the input held no form
    kStateFile = 4,         // a file could not be opened, or a write failed
    kStateDump = 5,         // a dump failed
    kStateGrammar = 6,      // zelERRNO_GRAMMAR: the grammar tables are malformed
    kStateUnderflow = 16,   // zelERR_STACK_UNDERFLOW
    kStateOverflow = 17     // zelERR_STACK_OVERFLOW
};

// Results of one form-parser level.
enum LevelResult : int { kMatched = 0, kUnmatched = 1, kStop = 2, kInternal = 3 };

}  // namespace zel

#endif
