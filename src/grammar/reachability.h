// Finds the parts of built tables that no input can reach, for the compiler's warnings.
#ifndef ZEL_GRAMMAR_REACHABILITY_H
#define ZEL_GRAMMAR_REACHABILITY_H

#include <string>
#include <vector>

#include "grammar/table_builder.h"
#include "zel/grammar.h"

namespace zel {

// Appends "line N: warning: text", in line order, for each alternative of a choice, group
// or goal that an earlier alternative always takes first, and for each element that the
// repeated element before it always takes first. The tables are complete and without
// errors; sources holds the source of each row; extended tells which rule set the parser
// reads with (under the extended rules a literal keyword is also an identifier).
void FindUnreachable(const std::vector<zelKeywordS>& keywords, const std::vector<zelSemanticS>& rows,
                     const std::vector<RowSource>& sources, bool extended, std::vector<std::string>& warnings);

}  // namespace zel

#endif
