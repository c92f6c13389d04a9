// The words that name lexical settings, shared by the grammar language and the zel tool.
#ifndef ZEL_GRAMMAR_SETTING_NAMES_H
#define ZEL_GRAMMAR_SETTING_NAMES_H

#include <cstring>

#include "zel/grammar.h"

namespace zel {

struct LexicalOptionName {
    const char* name;
    int bit;  // a zelLexOption
};

constexpr LexicalOptionName kLexicalOptionNames[] = {
    {"quote-opens-string", zelLEX_QUOTE_OPENS_STRING},
    {"escape-escapes", zelLEX_ESCAPE_ESCAPES},
    {"keep-keyword-case", zelLEX_KEEP_KEYWORD_CASE},
};

// The zelLexOption bit that name stands for, or 0.
inline int LexicalOptionBit(const char* name)
{
    for (const LexicalOptionName& option : kLexicalOptionNames)
        if (std::strcmp(option.name, name) == 0)
            return option.bit;
    return 0;
}

}  // namespace zel

#endif
