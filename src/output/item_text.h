// The text the writers produce for one node: a form head or a value.
#ifndef ZEL_OUTPUT_ITEM_TEXT_H
#define ZEL_OUTPUT_ITEM_TEXT_H

#include <string>

#include "lex/spelling.h"

class CZelOid;

namespace zel {

// Appends a line break and level spaces (the magnitude of a negative level).
void AppendLineBreak(std::string& out, int level);

// Appends a comment: ";;", and a blank and the text when it is not empty.
void AppendComment(std::string& out, const std::string& text);

// Appends the head of a form: a line break, level spaces (the magnitude of a negative
// level), "(" and the keyword name.
void AppendFormHead(std::string& out, const char* keyword, int level);

// Appends the text of a value or literal node of the given type, from its value block
// and keyword name ("  %d", "  %lf", "  \"%s\"", "  %s"); appends nothing for other node
// types. A real that six decimals do not carry is written with the digits it needs; an
// identifier or word is spelt so that a parser of the given settings reads it back (a
// text that no spelling carries is written as it is). Returns the length that counts for
// line wrapping: the identifier or word as spelt, the string text or literal name alone,
// or -1 for integers, reals and others.
int AppendValueText(std::string& out, int type, const void* value, const char* keyword,
                    const LexicalSettings& settings);

}  // namespace zel

#endif
