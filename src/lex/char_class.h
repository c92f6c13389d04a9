// Character classes of the tokenizer: one table with exactly the answers of the
// standard isspace, isdigit and isalnum tests in the default locale.
#ifndef ZEL_LEX_CHAR_CLASS_H
#define ZEL_LEX_CHAR_CLASS_H

namespace zel {

enum CharClass : unsigned char { kSpace = 1, kDigit = 2, kAlnum = 4, kWordEnd = 8, kLineEnd = 16, kMark = 32 };

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
            if ((b & kSpace) || c == '(' || c == ')' || c == 0)
                b |= kWordEnd;
            if (c == 0 || c == ';' || c == '#')
                b |= kLineEnd;
            if (c == ')' || c == '"' || c == '\'' || c == '&' || c == 'E')
                b |= kMark;
            bits[c] = b;
        }
    }
};

inline constexpr CharClassTable kCharClasses{};

inline bool IsSpace(char c) { return kCharClasses.bits[static_cast<unsigned char>(c)] & kSpace; }
inline bool IsDigit(char c) { return kCharClasses.bits[static_cast<unsigned char>(c)] & kDigit; }
// Whitespace, a parenthesis or the end of the line buffer: a word stops before it.
inline bool EndsWord(char c) { return kCharClasses.bits[static_cast<unsigned char>(c)] & kWordEnd; }
// The end of the line buffer, or the start of a comment that runs to the end of the line.
inline bool EndsLine(char c) { return kCharClasses.bits[static_cast<unsigned char>(c)] & kLineEnd; }
// A character that starts a token other than a plain word: ")", a quote, "&" or "E".
inline bool IsMark(char c) { return kCharClasses.bits[static_cast<unsigned char>(c)] & kMark; }
inline bool IsAlnum(char c) { return kCharClasses.bits[static_cast<unsigned char>(c)] & kAlnum; }

// Word classification: the class of each character within a word, and the type a word
// takes after each character under the plain and the extended rules.
enum WordChar : unsigned char { kEnd, kDigitChar, kSign, kPeriod, kCapitalE, kLetter, kUnderscore, kOther };
enum WordType : unsigned char { kWordInt, kWordReal, kWordIdent, kWordDummy };

// The steps of the word scan: for the type before a character and the character, the
// type after it times 256 (the start of that type's row), or kWordEnds for a character
// that ends the word.
const unsigned short kWordEnds = 0xFFFF;

struct WordTables {
    unsigned char charClass[256];
    unsigned char next[2][4][8];        // [extended][type][class]
    unsigned short step[2][4 * 256];  // [extended][type * 256 + character]
    constexpr WordTables() : charClass(), next(), step()
    {
        for (int c = 0; c < 256; ++c) {
            unsigned char k = kOther;
            if (kCharClasses.bits[c] & kWordEnd)
                k = kEnd;
            else if (c >= '0' && c <= '9')
                k = kDigitChar;
            else if (c == '+' || c == '-')
                k = kSign;
            else if (c == '.')
                k = kPeriod;
            else if (c == 'E')
                k = kCapitalE;
            else if (kCharClasses.bits[c] & kAlnum)
                k = kLetter;
            else if (c == '_')
                k = kUnderscore;
            charClass[c] = k;
        }
        for (int extended = 0; extended < 2; ++extended)
            for (int type = 0; type < 4; ++type)
                for (int k = 1; k < 8; ++k) {
                    int t = type;
                    if (t != kWordIdent) {
                        if (k == kPeriod)
                            t = kWordReal;
                        else if (extended && k == kCapitalE && (t == kWordInt || t == kWordReal))
                            t = kWordReal;
                        else if (k != kDigitChar && k != kSign)
                            t = kWordIdent;
                    }
                    const bool alnumOrUnderscore = k == kDigitChar || k == kCapitalE || k == kLetter || k == kUnderscore;
                    if (!extended && t == kWordIdent && !alnumOrUnderscore)
                        t = kWordDummy;
                    next[extended][type][k] = static_cast<unsigned char>(t);
                }
        for (int extended = 0; extended < 2; ++extended)
            for (int type = 0; type < 4; ++type)
                for (int c = 0; c < 256; ++c)
                    step[extended][type * 256 + c] =
                        charClass[c] == kEnd ? kWordEnds : static_cast<unsigned short>(next[extended][type][charClass[c]] * 256);
    }
};

inline constexpr WordTables kWordTables{};

}  // namespace zel

#endif
