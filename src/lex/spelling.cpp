// Spellings of identifier and string values under the tokenizer's rules.
#include "lex/spelling.h"

#include <cstring>

#include "core/name_index.h"
#include "lex/char_class.h"
#include "core/grammar_tables.h"
#include "lex/lexer.h"
#include "zel/grammar.h"

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

// True when the quote character at text[at] is escaped: the escape character stands right
// before it or, when escapes escape themselves, an odd run of it does.
bool Escaped(const char* text, size_t at, char escape, bool escapeEscapes)
{
    size_t run = 0;
    while (escape && run < at && text[at - 1 - run] == escape) {
        ++run;
        if (!escapeEscapes)
            break;
    }
    return run % 2 == 1;
}

// True when the text, between two quote characters, is closed by the second: every quote
// character inside is escaped, and the closing one is not.
bool QuotesProtected(const char* text, size_t length, char quote, char escape, bool escapeEscapes)
{
    if (Escaped(text, length, escape, escapeEscapes))
        return false;
    for (const char* p = text; (p = static_cast<const char*>(std::memchr(p, quote, length - static_cast<size_t>(p - text)))); ++p)
        if (!Escaped(text, static_cast<size_t>(p - text), escape, escapeEscapes))
            return false;
    return true;
}

// True when the text between apostrophes reads back as itself under the extended rules:
// a line feed ends the text, and an apostrophe followed by a space or ")" is an
// identifier of its own.
bool ReadsBetweenApostrophes(const char* text, size_t length, const LexicalSettings& settings)
{
    if (length == 0)
        return true;
    if (text[0] == ' ' || text[0] == ')' || std::memchr(text, '\n', length))
        return false;
    return QuotesProtected(text, length, '\'', settings.escape, settings.options & zelLEX_ESCAPE_ESCAPES);
}

// The word scan as the tokenizer runs it over a text written alone, and beside it over
// the text written after "&" under the plain rules.
struct WordScan {
    bool wordOnly;            // no character of the text ends a word
    bool startsWord;          // the first character starts a word (not a comment, string or mark)
    unsigned alone;           // the WordType of the text written alone
    unsigned afterAmpersand;  // the WordType of the text written after "&"
};

WordScan ScanWord(const char* text, size_t length, bool extended)
{
    const unsigned short* step = kWordTables.step[extended ? 1 : 0];
    const char first = length ? text[0] : '\0';
    // A word starting with "E", or with "&" under the extended rules, starts as an
    // identifier. A character that ends a word ends both scans.
    unsigned alone = (first == 'E' || (extended && first == '&') ? kWordIdent : kWordInt) * 256;
    unsigned afterAmpersand = kWordIdent * 256;
    size_t i = 0;
    for (unsigned next; i < length && (next = step[alone + static_cast<unsigned char>(text[i])]) != kWordEnds; ++i) {
        alone = next;
        afterAmpersand = step[afterAmpersand + static_cast<unsigned char>(text[i])];
    }
    const bool startsWord = length > 0 && first != ';' && first != '#' && first != '"' &&
                            (extended ? first != '\'' : first != '&');
    return WordScan{i == length, startsWord, alone / 256, afterAmpersand / 256};
}

const int kWordTokenTypes[] = {zelKW_INTTOK, zelKW_REALTOK, zelKW_IDENT, zelKW_DUMMY};

}  // namespace

IdentifierSpelling SpellIdentifier(const char* text, size_t length, const LexicalSettings& settings)
{
    const WordScan scan = ScanWord(text, length, settings.extended);
    if (settings.extended) {
        // An identifier that spells a literal keyword reads as one that matches either.
        if (scan.wordOnly && scan.startsWord && scan.alone == kWordIdent)
            return kSpellPlain;
        return ReadsBetweenApostrophes(text, length, settings) ? kSpellApostrophes : kSpellNone;
    }
    if (!scan.wordOnly || SpellsLiteral(text, length, settings.names))
        return kSpellNone;
    if (scan.startsWord && scan.alone == kWordIdent)
        return kSpellPlain;
    return scan.afterAmpersand != kWordDummy ? kSpellAmpersand : kSpellNone;
}

WordSpelling SpellWord(const char* text, size_t length, const LexicalSettings& settings, bool marked)
{
    const WordScan scan = ScanWord(text, length, settings.extended);
    const bool plain = scan.wordOnly && scan.startsWord;
    // Under the plain rules "&" keeps a word of other characters what it is, and makes
    // any other word an identifier.
    const bool markReads = settings.extended ? ReadsBetweenApostrophes(text, length, settings) : scan.wordOnly;
    if (plain && !(marked && markReads))
        return WordSpelling{kSpellPlain, kWordTokenTypes[scan.alone]};
    if (!markReads)
        return WordSpelling{kSpellNone, zelKW_DUMMY};
    if (settings.extended)
        return WordSpelling{kSpellApostrophes, zelKW_IDENT};
    return WordSpelling{kSpellAmpersand, scan.afterAmpersand == kWordDummy ? zelKW_DUMMY : zelKW_IDENT};
}

bool WordNeedsMark(const char* text, size_t length, int tokenType, const LexicalSettings& settings)
{
    const WordScan scan = ScanWord(text, length, settings.extended);
    if (tokenType == zelKW_LIT || tokenType == zelKW_LITIDENT)
        tokenType = zelKW_IDENT;
    return !(scan.wordOnly && scan.startsWord && kWordTokenTypes[scan.alone] == tokenType);
}

bool CanWriteString(const char* text, size_t length, const LexicalSettings& settings)
{
    if (settings.extended && !(settings.options & zelLEX_QUOTE_OPENS_STRING) && length > 0 &&
        (text[0] == ' ' || text[0] == ')'))
        return false;
    return QuotesProtected(text, length, '"', settings.escape, settings.options & zelLEX_ESCAPE_ESCAPES);
}

}  // namespace zel
