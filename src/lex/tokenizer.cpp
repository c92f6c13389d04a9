// Tokenizer: cuts the line buffer into typed tokens under the plain or extended rules.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/name_index.h"
#include "lex/char_class.h"
#include "zel/parser.h"

void CZelParser::ClearToken()
{
    m_tokLen = 0;
    m_tok[0] = '\0';
    m_tokName = -2;
}

// Collects one character; the token buffer grows when a token does not fit.
void CZelParser::AppendTokenChar(char c)
{
    if (m_tokLen + 1 >= m_tokCap) {
        size_t capacity = m_tokCap * 2;
        char* block = m_tok == m_tokFixed ? static_cast<char*>(std::malloc(capacity))
                                          : static_cast<char*>(std::realloc(m_tok, capacity));
        if (!block) {
            ReportError(zelERR_BUFFER_LENGTH, 0);
            return;
        }
        if (m_tok == m_tokFixed)
            std::memcpy(block, m_tokFixed, m_tokLen);
        m_tok = block;
        m_tokCap = capacity;
    }
    m_tok[m_tokLen++] = c;
}

void CZelParser::SetTokenText(const char* text)
{
    ClearToken();
    while (*text)
        AppendTokenChar(*text++);
    m_tok[m_tokLen] = '\0';
}

// Grows the token buffer to hold length characters and the NUL. Returns the length that
// fits: all of it, or what the old buffer holds when no memory was left.
__attribute__((noinline)) size_t CZelParser::GrowToken(size_t length)
{
    size_t capacity = m_tokCap;
    while (capacity < length + 1)
        capacity *= 2;
    char* block = static_cast<char*>(std::malloc(capacity));
    if (!block) {
        ReportError(zelERR_BUFFER_LENGTH, 0);
        return m_tokCap - 1;
    }
    if (m_tok != m_tokFixed)
        std::free(m_tok);
    m_tok = block;
    m_tokCap = capacity;
    return length;
}

namespace {

// Copies a token of at most 16 characters with two overlapping loads and stores of the
// widest size that fits, instead of a loop over its characters.
__attribute__((always_inline)) inline void CopyShort(char* to, const char* from, size_t length)
{
    if (length >= 8) {
        std::uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + length - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + length - 8, &tail, 8);
    } else if (length >= 4) {
        std::uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + length - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + length - 4, &tail, 4);
    } else if (length > 0) {
        to[0] = from[0];
        to[length / 2] = from[length / 2];
        to[length - 1] = from[length - 1];
    }
}

// Copies a long token; kept out of line, where short tokens are copied in place.
__attribute__((noinline)) void CopyLong(char* to, const char* from, size_t length) { std::memcpy(to, from, length); }

}  // namespace

// Makes the token the given characters.
__attribute__((always_inline)) inline void CZelParser::SetTokenRange(const char* text, size_t length)
{
    if (length + 1 > m_tokCap)
        length = GrowToken(length);
    if (length <= 16)
        CopyShort(m_tok, text, length);
    else
        CopyLong(m_tok, text, length);
    m_tokLen = length;
    m_tok[length] = '\0';
    m_tokName = -2;
}

int CZelParser::Gettok()
{
    if (!m_scan || !Nexttok())
        return 0;
    ++m_tokenCount;
    if (*m_scan != '(')
        return CutToken();
    return CutOpeners();
}

// An opening parenthesis reads the token after it as the form's keyword. Runs of openers
// are counted here and applied innermost first, so they need no recursion.
__attribute__((noinline)) int CZelParser::CutOpeners()
{
    int openers = 0;
    int result;
    for (;;) {
        ++m_scan;
        if (m_extended && *m_scan == '(') {
            // "((" opens the form "ch"; the second parenthesis opens the next token.
            SetTokenText("ch");
            m_tokType = zelKW_FORM;
            ++m_depth;
            result = 1;
            break;
        }
        ++openers;
        if (!Nexttok()) {
            result = 0;
            break;
        }
        ++m_tokenCount;
        if (*m_scan != '(') {
            result = CutToken();
            break;
        }
    }
    for (; openers > 0; --openers) {
        m_tokType = m_tokType == zelKW_EOFORM ? zelKW_EMPTYFORM : zelKW_FORM;
        ++m_depth;
    }
    return result;
}

__attribute__((always_inline)) inline int CZelParser::CutToken()
{
    const char c = *m_scan;
    if (!zel::IsMark(c))
        return CutWord(zel::kWordInt, false);
    switch (c) {
    case ')':
        ++m_scan;
        SetTokenRange(")", 1);
        m_tokType = zelKW_EOFORM;
        --m_depth;
        return 1;
    case '"':
        return CutString();
    case '\'':
        if (m_extended)
            return CutApostrophe();
        return CutWord(zel::kWordInt, false);
    case '&':
        // "&" makes the word an identifier; under the plain rules it is not part of it.
        if (!m_extended)
            ++m_scan;
        return CutWord(zel::kWordIdent, true);
    default:  // "E" starts an identifier
        return CutWord(zel::kWordIdent, false);
    }
}

// A double-quoted string, possibly running over several lines.
int CZelParser::CutString()
{
    ++m_scan;
    if (m_extended && (*m_scan == ' ' || *m_scan == ')')) {
        SetTokenText("\"");
        m_tokType = zelKW_IDENT;
        return 1;
    }
    ClearToken();
    for (;;) {
        const char c = *m_scan;
        if (c == '\0') {
            if (!GetLine()) {
                m_tok[m_tokLen] = '\0';  // the text read so far, for the reports that follow
                return 0;
            }
            m_scan = m_line;
            continue;
        }
        ++m_scan;
        if (c == '"' && !(m_esc && m_tokLen > 0 && m_tok[m_tokLen - 1] == m_esc))
            break;
        AppendTokenChar(c);
    }
    m_tok[m_tokLen] = '\0';
    m_tokType = zelKW_STRTOK;
    return 1;
}

// Extended rules: text in apostrophes, running on to the next space, ")" or line end.
int CZelParser::CutApostrophe()
{
    ++m_scan;
    if (*m_scan == ' ' || *m_scan == ')') {
        SetTokenText("'");
        m_tokType = zelKW_IDENT;
        return 1;
    }
    ClearToken();
    bool closed = false;
    for (;;) {
        const char c = *m_scan;
        if (c == '\'') {
            ++m_scan;
            if (m_esc && m_tokLen > 0 && m_tok[m_tokLen - 1] == m_esc)
                AppendTokenChar(c);
            else
                closed = true;
            continue;
        }
        if (c == '\0') {
            if (closed)
                break;
            if (!GetLine()) {
                m_tok[m_tokLen] = '\0';
                return 0;
            }
            m_scan = m_line;
            continue;
        }
        if (c == '\n' || (closed && (c == ' ' || c == ')')))
            break;
        AppendTokenChar(c);
        ++m_scan;
    }
    m_tok[m_tokLen] = '\0';
    // An unclosed text is still a text: it is delivered as an identifier.
    m_tokType = zelKW_IDENT;
    if (!closed)
        ReportError(zelERR_UNMATCHED_QUOTES, 0);
    return 1;
}

// A word: a number, an identifier or, under the plain rules, a word of other characters.
__attribute__((always_inline)) inline int CZelParser::CutWord(unsigned startType, bool ampersand)
{
    // The word runs to the next parenthesis, whitespace or the end of the line buffer;
    // its characters are classified as they pass and copied once at the end.
    static const int kTokTypes[] = {zelKW_INTTOK, zelKW_REALTOK, zelKW_IDENT, zelKW_DUMMY};
    const unsigned short* step = zel::kWordTables.step[m_extended ? 1 : 0];
    unsigned row = startType * 256;
    const char* start = m_scan;
    const char* p = m_scan;
    for (unsigned next; (next = step[row + static_cast<unsigned char>(*p)]) != zel::kWordEnds; ++p)
        row = next;
    int type = kTokTypes[row / 256];
    SetTokenRange(start, static_cast<size_t>(p - start));
    m_scan = const_cast<char*>(p);
    if (ampersand && type != zelKW_DUMMY)
        type = zelKW_IDENT;
    m_tokType = type;
    return 1;
}

// The keyword whose name the token spells in any letter case, or -1; looked up once per
// token.
int CZelParser::TokenName()
{
    if (m_tokName == -2)
        m_tokName = m_names->Find(m_tok, m_tokLen);
    return m_tokName;
}

void CZelParser::ConvertToktyp()
{
    // The token is a literal when its upper-case text is a key of the keyword index.
    if (m_names->Empty() || !m_names->MayBeIndexKey(m_tok, m_tokLen))
        return;
    const int name = TokenName();
    if (name >= 0 && m_names->IsIndexKey(name))
        m_tokType = m_extended ? zelKW_LITIDENT : zelKW_LIT;
}
