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
// same string: every quote inside follows the escape character, the text does not end in
// the escape character, and under the extended rules it does not start with a space or
// ")" (a quote followed by one of them reads as an identifier).
bool CanWriteString(const char* text, size_t length, const LexicalSettings& settings);

}  // namespace zel

#endif
