// Bytes shown to a person or a JSON reader: UTF-8 sequences told apart from stray bytes,
// control bytes escaped, long tokens cut.
#ifndef ZEL_TOOLS_PRINTABLE_H
#define ZEL_TOOLS_PRINTABLE_H

#include <cstddef>
#include <string>

namespace zeltool {

// The length of the well-formed UTF-8 sequence of two to four bytes at text[0] (at most
// available bytes are looked at); 0 when text[0] is no lead byte of one (an ASCII byte, a
// stray continuation byte, an overlong form, a surrogate, a value above U+10FFFF).
size_t Utf8SequenceLength(const unsigned char* text, size_t available);

// The text with printable ASCII and well-formed UTF-8 sequences copied and every other
// byte, and each byte of alsoEscaped, written by escape.
std::string EscapeBytes(const std::string& text, const char* alsoEscaped, void (*escape)(unsigned char byte, std::string& out));

// The text with every control byte written as \t, \n, \r or \xNN and every byte that is
// not part of a well-formed UTF-8 sequence as \xNN; printable ASCII and UTF-8 stay.
std::string EscapeForDisplay(const std::string& text);

// The first maxBytes bytes of text (less, so that no UTF-8 sequence is split) and "...",
// or text itself when it is no longer than maxBytes.
std::string CutToLength(const std::string& text, size_t maxBytes);

}  // namespace zeltool

#endif
