// Turns the rules of a grammar into the keyword and semantic tables.
#ifndef ZEL_GRAMMAR_TABLE_BUILDER_H
#define ZEL_GRAMMAR_TABLE_BUILDER_H

#include <string>
#include <vector>

#include "grammar/grammar_text.h"
#include "zel/grammar.h"

namespace zel {

// Where a semantic row comes from: the line of its element (0 for rows of no element of
// their own, such as the repeated row of "x+") and whether the element is required as
// written (the first row of an alternative is laid out optional).
struct RowSource {
    int line = 0;
    bool required = false;
};

// Builds the tables for grammar. Each error is appended as "line N: text"; the tables
// are complete only when no error was added. sources receives the source of each
// semantic row, by row.
void BuildTables(const GrammarText& grammar, std::vector<zelKeywordS>& keywords, std::vector<zelSemanticS>& rows,
                 std::vector<std::string>& errors, std::vector<RowSource>& sources);

}  // namespace zel

#endif
