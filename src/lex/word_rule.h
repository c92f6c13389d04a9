// What the tokenizer's word tables say about a whole text, for the code that decides on
// words outside the tokenizer (the grammar compiler).
#ifndef ZEL_LEX_WORD_RULE_H
#define ZEL_LEX_WORD_RULE_H

#include <cstddef>

#include "lex/char_class.h"

namespace zel {

// True when every character of text is one that keeps a word a number: a digit, a sign
// or a period. Such a word reads as an integer or a real under both rule sets, never as
// an identifier.
inline bool IsNumberText(const char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        const unsigned char k = kWordTables.charClass[static_cast<unsigned char>(text[i])];
        if (k != kDigitChar && k != kSign && k != kPeriod)
            return false;
    }
    return true;
}

}  // namespace zel

#endif
