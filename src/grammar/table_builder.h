// Turns the rules of a grammar into the keyword and semantic tables.
#ifndef ZEL_GRAMMAR_TABLE_BUILDER_H
#define ZEL_GRAMMAR_TABLE_BUILDER_H

#include <string>
#include <vector>

#include "grammar/grammar_text.h"
#include "zel/grammar.h"

namespace zel {

// Builds the tables for grammar. Each error is appended as "line N: text"; the tables
// are complete only when no error was added.
void BuildTables(const GrammarText& grammar, std::vector<zelKeywordS>& keywords, std::vector<zelSemanticS>& rows,
                 std::vector<std::string>& errors);

}  // namespace zel

#endif
