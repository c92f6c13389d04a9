// Shared helpers of the object tree.
#ifndef ZEL_TREE_NODE_ACCESS_H
#define ZEL_TREE_NODE_ACCESS_H

#include <cstddef>

namespace zel {

// Semantic index of a released node that its parser keeps until FullInit or its own
// destruction; like -1 it marks a free node.
const int kRetainedSem = -2;

// Attribute bit of a semantic row whose values are entered in symbol maps.
const int kHashedSymbol = 0x100;

// Replaces the value of a value node of its own parser from text, as
// CZelParser::ReplaceData does: 0, -1 for a refused value, -4 when memory ran out.
int ReplaceValueText(const CZelOid* node, const char* text);

// Allocates a value block holding a copy of text with its NUL; null when out of memory.
char* CopyText(const char* text, size_t length);

// A word value block (zelKW_WORDTOK) holds the text, its NUL and one byte more: 1 when the
// word is written with the marked spelling of its rule set (see SpellWord), 0 when as
// itself. Null when out of memory.
char* CopyWord(const char* text, size_t length, bool marked);
// The marked byte of a word value block.
inline bool WordMarked(const char* block)
{
    while (*block)
        ++block;
    return block[1] != 0;
}

}  // namespace zel

#endif
