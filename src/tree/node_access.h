// Shared helpers of the object tree: the grammar rows behind a node and its value kind.
#ifndef ZEL_TREE_NODE_ACCESS_H
#define ZEL_TREE_NODE_ACCESS_H

#include <cstddef>

namespace zel {

// Semantic index of a released node that its parser keeps until FullInit or its own
// destruction; like -1 it marks a free node.
const int kRetainedSem = -2;

// Attribute bit of a semantic row whose values are entered in symbol maps.
const int kHashedSymbol = 0x100;

// Allocates a value block holding a copy of text with its NUL; null when out of memory.
char* CopyText(const char* text, size_t length);

// Converts a number text the way atoi does, keeping the nearest 32-bit value when the
// number is out of range; sets outOfRange then. When malformed is given, it is set to
// whether the text is anything but an optional sign and digits (after leading whitespace).
int TextToInt(const char* text, bool& outOfRange, bool* malformed = nullptr);

// Converts a number text the way atof does (the longest prefix that reads as a number;
// 0 when none), with the same correctly rounded result; a value beyond the double range
// keeps the nearest finite value, and a nonzero text below it reads as 0: both set
// *outOfRange when given. *malformed, when given, is set when the text is not one whole
// real (optional sign, digits with at most one period, optional exponent); it is left
// alone otherwise.
double TextToDouble(const char* text, bool* outOfRange = nullptr, bool* malformed = nullptr);

}  // namespace zel

#endif
