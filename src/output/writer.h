// The form writer: a tree back to form text, on a stream or as a list of strings, spelt so
// that a parser of the same lexical settings reads it back.
#ifndef ZEL_OUTPUT_WRITER_H
#define ZEL_OUTPUT_WRITER_H

#include <cstddef>
#include <cstdio>

#include "lex/spelling.h"
#include "zel/platform.h"

class CZelOid;
class CZelParser;

namespace zel {

class GrammarTables;
class CommentTable;
class KeywordSpellings;
class Lexer;

class Writer {
public:
    // The text is written for a parser of lexer's settings with grammar's whole keyword
    // index (loaded here when empty; a failed allocation throws std::bad_alloc), with the
    // keyword spellings and the comments that the nodes keep. annotate adds each node's
    // address after its item.
    Writer(GrammarTables& grammar, const Lexer& lexer, const KeywordSpellings& spellings, const CommentTable& comments,
           bool annotate);

    // Writes node (and its later siblings when withSiblings) to stream. Returns 0, or 1 for
    // a failed write or a free node on the way.
    int WriteTree(FILE* stream, const CZelOid* node, int level, int withSiblings);
    // Appends the text of node and its siblings to list, one string per item. Returns 0, or
    // 1 for a null or free node.
    int WriteList(const CZelOid* node, int level, CStringList* list);
    // Writes the header's strings as ";; " comment lines.
    static void WriteHeader(FILE* stream, CStringList* header);

private:
    const GrammarTables& m_grammar;
    LexicalSettings m_settings;
    const KeywordSpellings* m_spellings;  // null when no node keeps a spelling
    const CommentTable* m_comments;       // null when no node keeps a comment
    bool m_annotate;
};

// True when the identifier (type zelKW_IDENT), word (zelKW_WORDTOK) or string text can be
// written so that the parser reads it back; false also when memory ran out (reported) or
// the parser has no state.
bool CanWriteText(CZelParser* parser, int type, const char* text, size_t length);

}  // namespace zel

#endif
