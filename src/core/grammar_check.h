// The check of a grammar descriptor that a client laid out, made before the parser
// first reads the tables.
#ifndef ZEL_CORE_GRAMMAR_CHECK_H
#define ZEL_CORE_GRAMMAR_CHECK_H

#include <string>

#include "zel/grammar.h"

namespace zel {

// Returns true when every engine, grammar search and row scan can work on the tables
// without reading outside them and without looping: indexes in range, no row linked to
// itself, no cycle of alt and next links, and no way back into a composite's rule that
// reads no token. Otherwise fault names the first bad row and field. rows receives the
// number of semantic rows the library may read: semCount when it is positive, otherwise
// one past the highest row that the keyword rows and the links reach. The work is linear
// in the size of the tables and uses no recursion.
bool CheckGrammarTables(const zelParserS& grammar, std::string& fault, int& rows);

}  // namespace zel

#endif
