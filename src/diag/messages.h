// Every message text of the library: the table of reports by code, with the severity and
// the counting rule of each, and the texts that go straight to the message hooks or to
// standard output.
#ifndef ZEL_DIAG_MESSAGES_H
#define ZEL_DIAG_MESSAGES_H

#include "zel/diag.h"

class CZelParser;

namespace zel {

// How a shown report counts towards the error count.
enum CountRule : signed char {
    kCountsOnce = 0,   // an error
    kNotCounted = -1,  // a note or warning: the count is taken back after the report
    kCountsTwice = 1,  // counted once more after the report
};

struct MessageRow {
    zelSevCode severity;  // 0: the code shows nothing
    const char* text;     // printf format of the message
    CountRule count;
};

// The row of a code; null for a code outside the table.
const MessageRow* MessageOf(zelErrCode code);

// Reports a parser shows before it counts no more.
const int kReportCap = 20;
// The same with recovery on, where every independent problem gives its own report (one to
// three each): enough for hundreds of problems, still a bound on a file of garbage.
const int kRecoveryReportCap = 1000;

// Texts written straight to WriteMsg. Each is its own format (it holds no conversion), so
// that a hook sees the text itself as the format.
extern const char kHeapMessage[];          // a failed allocation inside an operation
void WriteHeapMessage(CZelParser& hooks);
void WriteNoDumpName(CZelParser& hooks);   // a dump without a file name
extern const char kDumpOpenMessage[];      // %s: the dump file that cannot be created
extern const char kDumpWriteMessage[];     // %s: the dump file that could not be written
// Texts written to standard output.
extern const char kStackAllocationMessage[];  // the constructor could not allocate the stack
extern const char kLineListStackMessage[];    // a line-list parse left the stack unbalanced
extern const char kHashTraceMessage[];        // %s: a symbol entered in a symbol map (trace)

}  // namespace zel

#endif
