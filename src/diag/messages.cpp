// The message texts of the library.
#include "diag/messages.h"

#include "zel/parser.h"

namespace zel {

namespace {

// One row per zelErrCode, indexed by code.
const MessageRow kMessages[] = {
    {zelSevCode(0), nullptr, kCountsOnce},
    {zelSevCode(0), nullptr, kCountsOnce},
    {zelSEV_ERROR, "Missing $GOAL form: %s.", kCountsOnce},
    {zelSevCode(0), nullptr, kCountsOnce},
    {zelSEV_ERROR, "Error opening database file: %s\n", kCountsOnce},
    {zelSEV_ERROR, "Input buffer length exceeded.\n", kCountsOnce},
    {zelSEV_ERROR, "Unexpected token \"%s\" within construct \"%s\".\n", kCountsOnce},
    {zelSEV_ERROR, "Unmatched quotes.\n", kCountsOnce},
    {zelSEV_ERROR, "Unexpected end of file.\n", kCountsOnce},
    {zelSEV_NOTE, "Skipping rest of form: %s.\n", kNotCounted},
    {zelSEV_ERROR, "Expecting: FORM %s (Token=\"%s\").", kCountsOnce},
    {zelSEV_WARNING, "Parsing ended before end of file.\n", kNotCounted},
    {zelSEV_ERROR, "Unexpected end of form \")\".\n", kCountsOnce},
    {zelSEV_WARNING, "Keyword \"%s\" can occur only once within the current form.\n", kCountsOnce},
    {zelSEV_ERROR, "Expecting end of form \")\" (Token=\"%s\").\n", kCountsTwice},
    {zelSEV_ERROR, "Unrecognized form \"%s\".\n", kCountsOnce},
    {zelSEV_ERROR, "\n ZEL Parser Error: Internal stack underflow. (%d)\n", kCountsOnce},
    {zelSEV_ERROR, "\n ZEL Parser Error: Internal stack overflow. (%d)\n", kCountsOnce},
    {zelSevCode(0), nullptr, kCountsOnce},
    {zelSEV_ERROR, "Unidentified syntax error.\n", kCountsOnce},
    {zelSEV_WARNING, "Integer \"%s\" is out of range; the nearest 32-bit value is kept.\n", kNotCounted},
    {zelSEV_WARNING, "Real \"%s\" is out of range; the nearest finite value is kept.\n", kNotCounted},
    {zelSEV_WARNING, "Number \"%s\" is not well formed; the value of its leading part is kept.\n", kNotCounted},
    {zelSEV_ERROR, "NUL byte in the input; reading stops here.\n", kCountsOnce},
    {zelSEV_ERROR, "Error reading database file: %s\n", kCountsOnce},
    {zelSEV_ERROR, "Malformed grammar tables: %s.\n", kCountsOnce},
};
static_assert(sizeof(kMessages) / sizeof(kMessages[0]) == zelERR_GRAMMAR_TABLES + 1, "one message row per error code");

}  // namespace

const MessageRow* MessageOf(zelErrCode code)
{
    if (code < zelERR_NONE || code > zelERR_GRAMMAR_TABLES)
        return nullptr;
    return &kMessages[code];
}

const char kHeapMessage[] = "Error allocating from heap.\n";

namespace {

const char kNoDumpName[] = "Error: no output file name specified.\n";

}  // namespace

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
void WriteHeapMessage(CZelParser& hooks) { hooks.WriteMsg(kHeapMessage); }

void WriteNoDumpName(CZelParser& hooks) { hooks.WriteMsg(kNoDumpName); }
#pragma GCC diagnostic pop
const char kDumpOpenMessage[] = "Error opening file: %s\n";
const char kDumpWriteMessage[] = "Error writing file: %s\n";
const char kStackAllocationMessage[] = "Error allocating zel parser stack.\n";
const char kLineListStackMessage[] = "\nParser Error: Internal stack error.\n";
const char kHashTraceMessage[] = "\nHashing symbol: %s";

}  // namespace zel
