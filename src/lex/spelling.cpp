// Spellings of identifier and string values under the tokenizer's rules.
#include "lex/spelling.h"

#include <cstring>

#include "core/name_index.h"
#include "lex/char_class.h"
#include "core/grammar_tables.h"
#include "lex/lexer.h"

namespace zel {

LexicalSettings WritingSettings(GrammarTables& grammar, const Lexer& lexer)
{
    if (grammar.Names().Empty())
        grammar.LoadKeywords();
    return lexer.Settings(&grammar.Names());
}

namespace {

// True when the tokenizer turns an identifier of this text into a literal: its upper-case
// text is a key of the keyword index.
bool SpellsLiteral(const char* text, size_t length, const NameIndex* names)
{
    if (!names || names->Empty() || !names->MayBeIndexKey(text, length))
        return false;
    const int name = names->Find(text, length);
    return name >= 0 && names->IsIndexKey(name);
}

// True when the text, between two quote characters, is closed by the second: the quote
// character stands inside only right after the escape character, and the text does not
// end in the escape character (which would keep the closing quote inside).
bool QuotesProtected(const char* text, size_t length, char quote, char escape)
{
    if (escape && length > 0 && text[length - 1] == escape)
        return false;
    for (const char* p = text; (p = static_cast<const char*>(std::memchr(p, quote, length - static_cast<size_t>(p - text)))); ++p)
        if (p == text || !escape || p[-1] != escape)
            return false;
    return true;
}

// True when the text between apostrophes reads back as itself under the extended rules:
// a line feed ends the text, and an apostrophe followed by a space or ")" is an
// identifier of its own.
bool ReadsBetweenApostrophes(const char* text, size_t length, char escape)
{
    if (length == 0)
        return true;
    if (text[0] == ' ' || text[0] == ')' || std::memchr(text, '\n', length))
        return false;
    return QuotesProtected(text, length, '\'', escape);
}

}  // namespace

IdentifierSpelling SpellIdentifier(const char* text, size_t length, const LexicalSettings& settings)
{
    const bool extended = settings.extended;
    const unsigned short* step = kWordTables.step[extended ? 1 : 0];
    const char first = length ? text[0] : '\0';
    // The word scan as the tokenizer runs it over the text written alone (a word starting
    // with "E", or with "&" under the extended rules, starts as an identifier) and, beside
    // it, over the text written after "&" under the plain rules. A character that ends a
    // word ends both scans.
    unsigned alone = (first == 'E' || (extended && first == '&') ? kWordIdent : kWordInt) * 256;
    unsigned afterAmpersand = kWordIdent * 256;
    size_t i = 0;
    for (unsigned next; i < length && (next = step[alone + static_cast<unsigned char>(text[i])]) != kWordEnds; ++i) {
        alone = next;
        afterAmpersand = step[afterAmpersand + static_cast<unsigned char>(text[i])];
    }
    const bool wordOnly = i == length;
    // The characters that start a comment, a string or another token kind.
    const bool startsWord = length > 0 && first != ';' && first != '#' && first != '"' &&
                            (extended ? first != '\'' : first != '&');
    if (extended) {
        // An identifier that spells a literal keyword reads as one that matches either.
        if (wordOnly && startsWord && alone / 256 == kWordIdent)
            return kSpellPlain;
        return ReadsBetweenApostrophes(text, length, settings.escape) ? kSpellApostrophes : kSpellNone;
    }
    if (!wordOnly || SpellsLiteral(text, length, settings.names))
        return kSpellNone;
    if (startsWord && alone / 256 == kWordIdent)
        return kSpellPlain;
    return afterAmpersand / 256 != kWordDummy ? kSpellAmpersand : kSpellNone;
}

bool CanWriteString(const char* text, size_t length, const LexicalSettings& settings)
{
    if (settings.extended && length > 0 && (text[0] == ' ' || text[0] == ')'))
        return false;
    return QuotesProtected(text, length, '"', settings.escape);
}

}  // namespace zel
