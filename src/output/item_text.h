// The text the writers produce for one node: a form head or a value.
#ifndef ZEL_OUTPUT_ITEM_TEXT_H
#define ZEL_OUTPUT_ITEM_TEXT_H

#include <string>

class CZelOid;

namespace zel {

// Appends the head of a form: a line break, level spaces (the magnitude of a negative
// level), "(" and the keyword name.
void AppendFormHead(std::string& out, const char* keyword, int level);

// Appends the text of a value or literal node of the given type, from its value block
// and keyword name ("  %d", "  %lf", "  \"%s\"", "  %s"); appends nothing for other node
// types. Returns the length that counts for line wrapping: the value text or literal name
// alone, or -1 for integers, reals and others.
int AppendValueText(std::string& out, int type, const void* value, const char* keyword);

}  // namespace zel

#endif
