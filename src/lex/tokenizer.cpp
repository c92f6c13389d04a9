// Tokenizer: cuts the line buffer into typed tokens under the plain or extended rules.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/counter.h"
#include "core/name_index.h"
#include "lex/char_class.h"
#include "diag/reporter.h"
#include "lex/lexer.h"

namespace zel {

void Lexer::ClearToken()
{
    m_tok.length = 0;
    m_tok.text[0] = '\0';
    m_tok.name = kNameUnknown;
}

// Grows the token buffer to hold length characters and the NUL, keeping the characters
// collected so far. A token longer than the longest token, or no memory left, stops the
// read (a cut token would be taken for the whole one): false then.
__attribute__((noinline)) bool Lexer::GrowToken(size_t length)
{
    if (!m_tokBuffer.Grow(length + 1, m_textLimit + 1, m_tok.length)) {
        StopReading(zelERR_BUFFER_LENGTH);
        return false;
    }
    m_tok.text = m_tokBuffer.Data();
    return true;
}

// Collects one character; false when the token cannot grow (the read has stopped).
inline bool Lexer::AppendTokenChar(char c)
{
    if (m_tok.length + 1 >= m_tokBuffer.Capacity() && !GrowToken(m_tok.length + 1))
        return false;
    m_tok.text[m_tok.length++] = c;
    return true;
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

// Makes the token the given characters; false when the token cannot grow (the read has
// stopped).
__attribute__((always_inline)) inline bool Lexer::SetTokenRange(const char* text, size_t length)
{
    if (length + 1 > m_tokBuffer.Capacity() && !GrowToken(length))
        return false;
    if (length <= 16)
        CopyShort(m_tok.text, text, length);
    else
        CopyLong(m_tok.text, text, length);
    m_tok.length = length;
    m_tok.text[length] = '\0';
    m_tok.name = kNameUnknown;
    return true;
}

void Lexer::SetToken(const char* text)
{
    ClearToken();
    SetTokenRange(text, std::strlen(text));
}

// The input ends inside a token: a quoted text left open, or nothing after "(". Reported
// when nothing else was (so that a failed parse always says why), and nothing more is
// read. A read that stopped on a fault has been reported already.
__attribute__((noinline)) int Lexer::EndInsideToken()
{
    if (m_readStopped)
        return 0;
    m_endedInsideToken = true;
    if (m_reporter.Errors() == 0)
        m_reporter.Report(zelERR_UNEXPECTED_EOF, 0);
    m_scan = nullptr;
    m_inputEnded = true;
    return 0;
}

int Lexer::Gettok()
{
    if (!m_scan || !Nexttok())
        return 0;
    zel::CountUp(m_tokenCount);
    if (*m_scan != '(') {
        m_tokPlace = ScanPlace();
        return CutToken();
    }
    return CutOpeners();
}

// Keeps where the form that depth counts was opened.
inline void Lexer::RecordOpen(size_t depth, RawPlace at)
{
    if (depth < m_opensCapacity || GrowOpens(depth))
        m_opens[depth] = at;
}

// Grows the array of "(" positions to hold depth; false (nothing kept) past the deepest
// recorded depth or without memory.
__attribute__((noinline)) bool Lexer::GrowOpens(size_t depth)
{
    if (depth >= kMaxRecordedDepth)
        return false;
    size_t capacity = m_opensCapacity ? m_opensCapacity : 64;
    while (capacity <= depth)
        capacity *= 2;
    void* grown = std::realloc(m_opens, capacity * sizeof(RawPlace));
    if (!grown)
        return false;
    m_opens = static_cast<RawPlace*>(grown);
    std::fill(m_opens + m_opensCapacity, m_opens + capacity, RawPlace{0});
    m_opensCapacity = capacity;
    return true;
}

TextPosition Lexer::EndPosition() const
{
    if (m_endedInsideToken || m_depth <= 0)
        return Placed(m_tokPlace);
    const size_t depth = static_cast<size_t>(m_depth);
    return depth < m_opensCapacity ? Placed(m_opens[depth]) : TextPosition{0, 0};
}

// An opening parenthesis reads the token after it as the form's keyword. Runs of openers
// are counted here and applied innermost first, so they need no recursion.
__attribute__((noinline)) int Lexer::CutOpeners()
{
    size_t openers = 0;
    int result;
    for (;;) {
        // The form this "(" opens is counted at the depth after the openers before it.
        const RawPlace open = ScanPlace();
        RecordOpen(static_cast<size_t>(m_depth) + openers + 1, open);
        ++m_scan;
        if (m_extended && *m_scan == '(') {
            // "((" opens the form "ch"; the second parenthesis opens the next token.
            m_tokPlace = open;
            SetToken("ch");
            m_tok.type = zelKW_FORM;
            zel::CountUp(m_depth);
            result = 1;
            break;
        }
        ++openers;
        if (!Nexttok()) {
            m_tokPlace = open;  // the input ends inside this "("
            result = EndInsideToken();
            break;
        }
        zel::CountUp(m_tokenCount);
        m_tokPlace = ScanPlace();
        if (*m_scan != '(') {
            result = CutToken();
            break;
        }
    }
    for (; openers > 0; --openers) {
        m_tok.type = m_tok.type == zelKW_EOFORM ? zelKW_EMPTYFORM : zelKW_FORM;
        zel::CountUp(m_depth);
    }
    return result;
}

__attribute__((always_inline)) inline int Lexer::CutToken()
{
    const char c = *m_scan;
    if (!zel::IsMark(c))
        return CutWord(zel::kWordInt, false);
    switch (c) {
    case ')':
        ++m_scan;
        SetTokenRange(")", 1);
        m_tok.type = zelKW_EOFORM;
        zel::CountDown(m_depth);
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

// True when the escape character keeps the quote at the scan position inside the text: it
// stands right before it or, with zelLEX_ESCAPE_ESCAPES, an odd run of it does.
bool Lexer::QuoteEscaped() const
{
    size_t run = 0;
    while (m_esc && run < m_tok.length && m_tok.text[m_tok.length - 1 - run] == m_esc) {
        ++run;
        if (!(m_options & zelLEX_ESCAPE_ESCAPES))
            break;
    }
    return run % 2 == 1;
}

// A double-quoted string, possibly running over several lines.
int Lexer::CutString()
{
    ++m_scan;
    if (m_extended && !(m_options & zelLEX_QUOTE_OPENS_STRING) && (*m_scan == ' ' || *m_scan == ')')) {
        SetToken("\"");
        m_tok.type = zelKW_IDENT;
        return 1;
    }
    ClearToken();
    for (;;) {
        const char c = *m_scan;
        if (c == '\0') {
            if (!GetLine()) {
                m_tok.text[m_tok.length] = '\0';  // the text read so far, for the reports that follow
                return EndInsideToken();
            }
            m_scan = m_lineBuffer.Data();
            continue;
        }
        ++m_scan;
        if (c == '"' && !QuoteEscaped())
            break;
        if (!AppendTokenChar(c))
            return 0;
    }
    m_tok.text[m_tok.length] = '\0';
    m_tok.type = zelKW_STRTOK;
    return 1;
}

// Extended rules: text in apostrophes, running on to the next space, ")" or line end.
int Lexer::CutApostrophe()
{
    ++m_scan;
    if (*m_scan == ' ' || *m_scan == ')') {
        SetToken("'");
        m_tok.type = zelKW_IDENT;
        return 1;
    }
    ClearToken();
    bool closed = false;
    for (;;) {
        const char c = *m_scan;
        if (c == '\'') {
            ++m_scan;
            if (QuoteEscaped()) {
                if (!AppendTokenChar(c))
                    return 0;
            } else
                closed = true;
            continue;
        }
        if (c == '\0') {
            if (closed)
                break;
            if (!GetLine()) {
                m_tok.text[m_tok.length] = '\0';
                return EndInsideToken();
            }
            m_scan = m_lineBuffer.Data();
            continue;
        }
        if (c == '\n' || (closed && (c == ' ' || c == ')')))
            break;
        if (!AppendTokenChar(c))
            return 0;
        ++m_scan;
    }
    m_tok.text[m_tok.length] = '\0';
    // An unclosed text is still a text: it is delivered as an identifier.
    m_tok.type = zelKW_IDENT;
    if (!closed)
        m_reporter.Report(zelERR_UNMATCHED_QUOTES, 0);
    return 1;
}

// A word: a number, an identifier or, under the plain rules, a word of other characters.
__attribute__((always_inline)) inline int Lexer::CutWord(unsigned startType, bool ampersand)
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
    if (!SetTokenRange(start, static_cast<size_t>(p - start)))
        return 0;
    m_scan = const_cast<char*>(p);
    if (ampersand && type != zelKW_DUMMY)
        type = zelKW_IDENT;
    m_tok.type = type;
    return 1;
}

// The keyword whose name the token spells in any letter case, or -1; looked up once per
// token.
int Lexer::TokenName()
{
    if (m_tok.name == kNameUnknown)
        m_tok.name = m_names.Find(m_tok.text, m_tok.length);
    return m_tok.name;
}

void Lexer::ConvertToktyp()
{
    // The token is a literal when its upper-case text is a key of the keyword index.
    if (m_names.Empty() || !m_names.MayBeIndexKey(m_tok.text, m_tok.length))
        return;
    const int name = TokenName();
    if (name >= 0 && m_names.IsIndexKey(name))
        m_tok.type = m_extended ? zelKW_LITIDENT : zelKW_LIT;
}

}  // namespace zel
