// The writers' walk over a tree: form text to a stream, or the same items as a list of
// strings.
#ifndef ZEL_OUTPUT_TREE_WALK_H
#define ZEL_OUTPUT_TREE_WALK_H

#include <cstdio>

#include "lex/spelling.h"
#include "zel/grammar.h"

class CZelOid;
class CStringList;

namespace zel {

class CommentTable;
class KeywordSpellings;

// What names and spells the items: the grammar of the tree's parser (the rows behind each
// live node's keyword and type), the settings of a parser that reads the text back, and
// the keyword spellings kept from the input (null when there are none), which a form or
// literal node is written with instead of its keyword's name, and the comments kept with
// the nodes (null when there are none).
struct WriteOptions {
    const zelParserS* grammar;
    LexicalSettings settings;
    const KeywordSpellings* spellings;
    const CommentTable* comments;
};

// Writes node (and, withSiblings, the siblings after it) with their subtrees as form text
// at level; a value that passes column 60 starts a new line, counted from the start of
// the call. With annotate, every head and value is followed by " [address]". The text
// goes to stream in large pieces. Returns 0, or 1 when a write fails or a null or free
// node is met (the text before it is written, nothing after it). A node's comments stand
// on lines of their own at its indentation in front of it (and in front of a form's ")"),
// or behind its head or its end; what follows a comment starts a new line, and the text
// ends with a line break when it ends with a comment.
int WriteTreeText(FILE* stream, const CZelOid* node, int level, bool withSiblings, bool annotate,
                  const WriteOptions& options);

// Appends the same items to list, one string per form head, value and ")", without line
// wrapping or annotations; the siblings after node are always written. The result is
// as WriteTreeText's.
int WriteTreeList(CStringList& list, const CZelOid* node, int level, const WriteOptions& options);

}  // namespace zel

#endif
