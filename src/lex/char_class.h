// Character classes of the tokenizer: one table with exactly the answers of the
// standard isspace, isdigit and isalnum tests in the default locale.
#ifndef ZEL_LEX_CHAR_CLASS_H
#define ZEL_LEX_CHAR_CLASS_H

namespace zel {

enum CharClass : unsigned char { kSpace = 1, kDigit = 2, kAlnum = 4 };

struct CharClassTable {
    unsigned char bits[256];
    constexpr CharClassTable() : bits()
    {
        for (int c = 0; c < 256; ++c) {
            unsigned char b = 0;
            if (c == ' ' || (c >= '\t' && c <= '\r'))
                b |= kSpace;
            if (c >= '0' && c <= '9')
                b |= kDigit | kAlnum;
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
                b |= kAlnum;
            bits[c] = b;
        }
    }
};

inline constexpr CharClassTable kCharClasses{};

inline bool IsSpace(char c) { return kCharClasses.bits[static_cast<unsigned char>(c)] & kSpace; }
inline bool IsDigit(char c) { return kCharClasses.bits[static_cast<unsigned char>(c)] & kDigit; }
inline bool IsAlnum(char c) { return kCharClasses.bits[static_cast<unsigned char>(c)] & kAlnum; }

}  // namespace zel

#endif
