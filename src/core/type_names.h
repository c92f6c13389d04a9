// The names of the keyword types and of the semantic flags, as the grammar source, the
// dumps and the tool write them. Inline, so that the tool, which links the library
// without its internals, reads the same table.
#ifndef ZEL_CORE_TYPE_NAMES_H
#define ZEL_CORE_TYPE_NAMES_H

#include "zel/grammar.h"

namespace zel {

// The enumerator names of the keyword types zelKW_DUMMY to zelKW_WORDTOK, by type; the
// token-only type zelKW_LITIDENT has none.
inline constexpr const char* kKeywordTypeNames[] = {
    "zelKW_DUMMY",  "zelKW_FORM",  "zelKW_EOFORM", "zelKW_COMPOSITE", "zelKW_INTTOK",   "zelKW_REALTOK",
    "zelKW_STRTOK", "zelKW_IDENT", "zelKW_LIT",    "zelKW_EOFILE",    "zelKW_EMPTYFORM", "", "zelKW_WORDTOK"};
static_assert(sizeof kKeywordTypeNames / sizeof kKeywordTypeNames[0] == zelKW_WORDTOK + 1,
              "one entry for each type from zelKW_DUMMY to zelKW_WORDTOK");

// The length of "zelKW_", which every keyword type name starts with.
const int kKeywordTypePrefixLength = 6;

// The name of a keyword type, "zelKW_FORM"; "" for a type out of that range.
inline const char* KeywordTypeName(int type)
{
    return type < zelKW_DUMMY || type > zelKW_WORDTOK ? "" : kKeywordTypeNames[type];
}

// The name without "zelKW_", "FORM"; "" for a type out of range.
inline const char* KeywordTypeShortName(int type)
{
    const char* name = KeywordTypeName(type);
    return *name ? name + kKeywordTypePrefixLength : name;
}

// The names of the semantic flags S_REQ (bit 0) to S_GRPHEAD (bit 7), by bit.
inline constexpr const char* kFlagNames[] = {"S_REQ",  "S_OPT",  "S_LIT",  "S_ONCE",
                                             "S_REQG", "S_OPTG", "S_REPG", "S_GRPHEAD"};
const int kFlagCount = 8;
static_assert(sizeof kFlagNames / sizeof kFlagNames[0] == kFlagCount && (1 << (kFlagCount - 1)) == S_GRPHEAD,
              "one name for each flag bit up to S_GRPHEAD");

// The name of flag bit bit (0 for S_REQ); "" for a bit out of range.
inline const char* FlagName(int bit) { return bit < 0 || bit >= kFlagCount ? "" : kFlagNames[bit]; }

// "S_DUMMY", then " | " and the name of each flag bit set, in bit order. The text lives
// until the next call on this thread.
const char* FlagsText(int flags);

}  // namespace zel

#endif
