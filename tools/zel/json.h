// JSON output of the tool: strings and the parsed tree.
#ifndef ZEL_TOOLS_JSON_H
#define ZEL_TOOLS_JSON_H

#include <cstdio>
#include <string>

#include "zel/zel.h"

namespace zeltool {

// text as a JSON string, quotes included. Well-formed UTF-8 stays as it is; quote,
// backslash and control bytes are escaped; every other byte (one that is no part of a
// well-formed UTF-8 sequence) becomes \u00XX with the byte's value, so that any bytes
// give valid JSON.
std::string JsonString(const std::string& text);

// A real as a JSON number that reads back as the same double; null for one that is not
// finite.
std::string JsonNumber(double value);

// Writes the goals of the parser as a JSON array of nodes, one goal a line: each node an
// object with "keyword", "type" (the keyword type's name), "line", and "value" (a number
// or a string) for a value node or "children" (an array) for a form. The walk keeps no
// state that grows with the depth or the number of siblings.
void WriteTreeJson(const CZelParser& parser, FILE* out);

}  // namespace zeltool

#endif
