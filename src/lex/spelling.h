// How identifier and string values are written so that the tokenizer reads them back as
// the same value. The decisions follow the tokenizer's own word tables.
#ifndef ZEL_LEX_SPELLING_H
#define ZEL_LEX_SPELLING_H

#include <cstddef>

namespace zel {

class GrammarTables;
class Lexer;
class NameIndex;

// The settings of a parser that decide how a text reads.
struct LexicalSettings {
    bool extended;           // the extended rules
    char escape;             // the escape character, 0 for none
    const NameIndex* names;  // the keyword index; null or empty: no literal keywords
    int options;             // zelLexOption bits
};

// The settings a written text is read back with: the lexer's rules and the grammar's whole
// keyword index, which is loaded here when it is empty (a failed allocation throws
// std::bad_alloc).
LexicalSettings WritingSettings(GrammarTables& grammar, const Lexer& lexer);

// How an identifier is written. Every spelling reads back as the identifier when the
// writer puts two spaces, ")", a line break or the end of the text after it.
enum IdentifierSpelling : unsigned char {
    kSpellNone,         // no text reads back as this identifier
    kSpellPlain,        // the text itself
    kSpellAmpersand,    // "&" and the text (plain rules)
    kSpellApostrophes,  // the text between apostrophes (extended rules)
};

// The spelling of the identifier text: the text itself when it reads as an identifier,
// else the quoted form of the rule set, else none. Under the plain rules an identifier
// that spells a literal keyword in any letter case has none (it reads as the literal).
// A text that reads as an identifier costs one pass over its characters.
IdentifierSpelling SpellIdentifier(const char* text, size_t length, const LexicalSettings& settings);

// True when the text, written between double quotes without escaping, reads back as the
// same string: every quote inside is escaped, the closing quote is not, and under the
// extended rules without zelLEX_QUOTE_OPENS_STRING the text does not start with a space or
// ")" (a quote followed by one of them reads as an identifier). A quote is escaped when the
// escape character stands right before it; with zelLEX_ESCAPE_ESCAPES, when an odd run of
// escape characters does.
bool CanWriteString(const char* text, size_t length, const LexicalSettings& settings);

// How a word value (zelKW_WORDTOK) is written, and the type of the token that spelling
// reads as before a literal keyword is looked up: zelKW_INTTOK, zelKW_REALTOK,
// zelKW_IDENT or zelKW_DUMMY. A word has two spellings: the text itself, when it reads as
// one word token of exactly that text, and the marked one of its rule set: "&" and the
// text under the plain rules, the text between apostrophes under the extended rules (as
// for identifiers). The text itself comes first; the marked spelling, when marked is true
// or the text itself does not read back. kSpellNone when neither reads back.
struct WordSpelling {
    IdentifierSpelling spelling;
    int tokenType;
};
WordSpelling SpellWord(const char* text, size_t length, const LexicalSettings& settings, bool marked);

// True when a word token of this text and type (the literal types count as identifiers)
// must be written with the marked spelling to read back as a token of the same type: the
// text itself does not read back, or reads as another type ("&1" under the plain rules is
// an identifier, "1" an integer).
bool WordNeedsMark(const char* text, size_t length, int tokenType, const LexicalSettings& settings);

}  // namespace zel

#endif
