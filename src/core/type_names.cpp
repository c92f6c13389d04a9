// The names of the keyword types and of the S_ flag bits.
#include "core/type_names.h"

#include <cstring>

#include "zel/grammar.h"

namespace zel {

namespace {

const char* const kTypeNames[] = {
    "zelKW_DUMMY", "zelKW_FORM",   "zelKW_EOFORM", "zelKW_COMPOSITE", "zelKW_INTTOK",   "zelKW_REALTOK",
    "zelKW_STRTOK", "zelKW_IDENT", "zelKW_LIT",    "zelKW_EOFILE",    "zelKW_EMPTYFORM"};
static_assert(sizeof(kTypeNames) / sizeof(kTypeNames[0]) == zelKW_EMPTYFORM + 1, "one name per keyword type");

const char* const kFlagNames[] = {"S_REQ", "S_OPT", "S_LIT", "S_ONCE", "S_REQG", "S_OPTG", "S_REPG", "S_GRPHEAD"};

// Scratch text of FlagsText, one per thread: long enough for every flag name.
thread_local char t_flagsText[512];

}  // namespace

const char* KeywordTypeName(int type)
{
    if (type < zelKW_DUMMY || type > zelKW_EMPTYFORM)
        return "";
    return kTypeNames[type];
}

const char* FlagName(int bit) { return bit >= 0 && bit < 8 ? kFlagNames[bit] : ""; }

const char* FlagsText(int flags)
{
    char* out = t_flagsText;
    std::strcpy(out, "S_DUMMY");
    for (int bit = 0; bit < 8; ++bit) {
        if (flags & (1 << bit)) {
            std::strcat(out, " | ");
            std::strcat(out, kFlagNames[bit]);
        }
    }
    return out;
}

}  // namespace zel
