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

}  // namespace zel

#endif
