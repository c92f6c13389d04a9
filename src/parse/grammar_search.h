// Grammar searches for node insertion. They walk the grammar from a position on a parse
// stack the way the form parser would, without reading input.
#ifndef ZEL_PARSE_GRAMMAR_SEARCH_H
#define ZEL_PARSE_GRAMMAR_SEARCH_H

#include "parse/stack.h"

namespace zel {

class GrammarTables;
struct Token;

class GrammarSearch {
public:
    // The search walks on stack, which it empties at Start.
    GrammarSearch(const GrammarTables& grammar, ParseStack& stack) : m_grammar(grammar), m_stack(stack) {}

    // Starts a search in the rule of a parent node of element parentSem: the parent's
    // element at the bottom and the first element of its rule, not yet tried, above it.
    // False on overflow (reported).
    bool Start(int parentSem);
    // Moves past an existing child of element target. False when the grammar does not
    // allow target next.
    bool Pass(int target);
    // The element that takes the token next, which is then on top and matched; -1 when
    // none does.
    int Find(Token& token);

    // The row of keyword (or, with orWord, of a word element) in the rule that starts at
    // start: a row of the rule itself, or an alternative of a composite named by the rule
    // (one level deep). -1 when the rule ends (a row of the ")" keyword) first.
    static int FindAppendRow(const GrammarTables& grammar, int start, int keyword, bool orWord = false);

private:
    int SearchNext(int target, Token* token);
    bool EntersAgain(int head, int base) const;

    const GrammarTables& m_grammar;
    ParseStack& m_stack;
};

}  // namespace zel

#endif
