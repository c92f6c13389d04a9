// The names of the keyword types and of the S_ flag bits, as a client writes them.
#ifndef ZEL_CORE_TYPE_NAMES_H
#define ZEL_CORE_TYPE_NAMES_H

namespace zel {

// "zelKW_DUMMY" to "zelKW_EMPTYFORM" for types 0 to 10; "" otherwise.
const char* KeywordTypeName(int type);
// "S_REQ" to "S_GRPHEAD" for bits 0 to 7; "" otherwise.
const char* FlagName(int bit);
// "S_DUMMY", then " | " and the name of each flag bit set, in bit order. The text lives
// until the next call on this thread.
const char* FlagsText(int flags);

}  // namespace zel

#endif
