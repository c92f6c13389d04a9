// Matching one token against one grammar element, inline for the engines' inner loops.
#ifndef ZEL_PARSE_MATCH_ELEMENT_H
#define ZEL_PARSE_MATCH_ELEMENT_H

#include <strings.h>

#include "core/name_index.h"
#include "lex/lexer.h"

namespace zel {

// The token types that a word element (zelKW_WORDTOK) takes: every bare word.
const unsigned kWordTokenTypes = 1u << zelKW_INTTOK | 1u << zelKW_REALTOK | 1u << zelKW_IDENT | 1u << zelKW_LIT |
                                 1u << zelKW_LITIDENT | 1u << zelKW_DUMMY;

// 1 when the token matches element e, 0 when not, 2 when it names the element's keyword
// but may not be taken there (its accept word is 0 and e is not required). A literal
// token of the extended rules matches a literal element by name, and an identifier or
// word element, never a form; when it matches an identifier element it becomes an
// identifier. A word element takes every bare word.
__attribute__((always_inline)) inline int MatchElement(const zelParserS& tables, const NameIndex& names, Token& token,
                                                     int e)
{
    const zelSemanticS& row = tables.semTable[e];
    const zelKeywordS& keyword = tables.kwTable[row.keywordId];
    const int kt = keyword.type;
    const int tt = token.type;
    if (tt != kt) {
        if (kt == zelKW_IDENT && tt == zelKW_LITIDENT) {
            token.type = zelKW_IDENT;
            return 1;
        }
        if (kt == zelKW_WORDTOK)
            return static_cast<int>((kWordTokenTypes >> tt) & 1u);
        if (tt == zelKW_LITIDENT ? kt != zelKW_LIT : !(kt == zelKW_REALTOK && tt == zelKW_INTTOK))
            return 0;
    }
    // Values and ")" match by type alone; forms and literals by their keyword name.
    if (tt != zelKW_FORM && tt != zelKW_LIT && tt != zelKW_LITIDENT)
        return 1;
    bool same;
    if (names.Empty()) {
        same = strcasecmp(token.text, keyword.name) == 0;
    } else {
        if (token.name == kNameUnknown)
            token.name = names.Find(token.text, token.length);
        same = token.name == names.CanonicalOf(row.keywordId);
    }
    if (!same)
        return 0;
    if (keyword.accept)
        return 1;
    return (row.semType & S_REQ) ? 1 : 2;
}

}  // namespace zel

#endif
