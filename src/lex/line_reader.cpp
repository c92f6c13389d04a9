// Line reader: fills the line buffer from the input stream, one physical line at a time.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/counter.h"
#include "lex/char_class.h"
#include "diag/reporter.h"
#include "lex/input_limits.h"
#include "lex/lexer.h"

namespace zel {

// Grows the line buffer to needed characters; false when that passes the longest line
// plus its NUL, or memory runs out.
bool Lexer::GrowLine(size_t needed)
{
    char* const old = m_lineBuffer.Data();
    if (!m_lineBuffer.Grow(needed, m_textLimit + 1, m_lineBuffer.Capacity()))
        return false;
    if (m_scan)
        m_scan = m_lineBuffer.Data() + (m_scan - old);
    return true;
}

void Lexer::SetText(const char* text)
{
    const size_t length = text ? std::strlen(text) : 0;
    if (!GrowLine(length + 1)) {
        m_lineBuffer.Data()[0] = '\0';
        StopReading(zelERR_BUFFER_LENGTH);
        return;
    }
    if (length)
        std::memcpy(m_lineBuffer.Data(), text, length);
    m_lineBuffer.Data()[length] = '\0';
    m_scan = m_lineBuffer.Data();
    m_inputEnded = false;
    m_endedInsideToken = false;
    AnchorPlaces();
}

// Ends the reading on a fault: the report, then no further token. The token is left empty
// and of no type, so that no caller takes the stop for the end of input or a part of a
// token for a whole one.
void Lexer::StopReading(zelErrCode code)
{
    m_reporter.Report(code, 0);
    m_readStopped = true;
    m_inputEnded = true;
    m_scan = nullptr;
    ClearToken();
    m_tok.type = zelKW_DUMMY;
}

namespace {

const size_t kReadBlock = 64 * 1024;

}  // namespace

// Reads the next block of the input stream into the read-ahead; false at its end, and
// when reading failed (then the read is stopped). The first NUL byte of the block is
// found here, once per block, so that the line cut needs one comparison to see it.
bool Lexer::FillBlock()
{
    if (!m_block && !(m_block = static_cast<char*>(std::malloc(kReadBlock)))) {
        StopReading(zelERR_BUFFER_LENGTH);
        return false;
    }
    m_blockLength = std::fread(m_block, 1, kReadBlock, m_in);
    m_blockPos = 0;
    const void* nul = std::memchr(m_block, '\0', m_blockLength);
    m_blockNul = nul ? static_cast<size_t>(static_cast<const char*>(nul) - m_block) : m_blockLength;
    if (m_blockLength == 0 && std::ferror(m_in))
        StopReading(zelERR_READ_FILE);
    return m_blockLength > 0;
}

char* Lexer::GetLine()
{
    zel::CountUp(m_lineNo);
    if (!m_in || m_textOnly || m_readStopped)
        return nullptr;
    // A whole physical line is taken from the read-ahead, up to the longest line: the line
    // buffer grows to hold it, so no token is ever cut at a buffer boundary.
    size_t length = 0;
    for (;;) {
        if (m_blockPos == m_blockLength && !FillBlock())
            break;
        const char* start = m_block + m_blockPos;
        const size_t available = m_blockLength - m_blockPos;
        const char* feed = static_cast<const char*>(std::memchr(start, '\n', available));
        const size_t take = feed ? static_cast<size_t>(feed - start) + 1 : available;
        if (m_blockNul < m_blockPos + take) {
            // The text after a NUL byte would be lost to the tokenizer, which ends the line there.
            m_tokPlace = MakePlace(static_cast<unsigned>(m_lineNo), length + (m_blockNul - m_blockPos));
            StopReading(zelERR_NUL_BYTE);
            return nullptr;
        }
        if (!GrowLine(length + take + 1)) {
            StopReading(zelERR_BUFFER_LENGTH);
            return nullptr;
        }
        std::memcpy(m_lineBuffer.Data() + length, start, take);
        length += take;
        m_blockPos += take;
        if (feed)
            break;
    }
    if (length == 0 || m_readStopped)
        return nullptr;
    m_lineBuffer.Data()[length] = '\0';
    AnchorPlaces();
    return m_lineBuffer.Data();
}

int Lexer::Nexttok()
{
    // Whitespace is passed over; the end of the line, ";" and "#" (a comment to the end of
    // the line) take the next line.
    char* p = m_scan;
    while (zel::IsSpace(*p))
        ++p;
    if (__builtin_expect(zel::EndsLine(*p), 0))
        return NextLine(p);
    m_scan = p;
    return 1;
}

// The rest of the line at p is empty or a comment: reads lines up to the next token. A
// comment goes to the sink, if any; the first line is the one of the token before it.
__attribute__((noinline)) int Lexer::NextLine(char* p)
{
    if (__builtin_expect(m_commentSink != nullptr, 0) && *p != '\0')
        PassComment(p, false);
    for (;;) {
        if (!GetLine()) {
            // The end of input, unless reading stopped on a fault (which set its own state).
            if (!m_readStopped)
                m_tok.type = zelKW_EOFILE;
            m_scan = nullptr;
            m_inputEnded = true;
            return 0;
        }
        p = m_lineBuffer.Data();
        while (zel::IsSpace(*p))
            ++p;
        if (!zel::EndsLine(*p))
            break;
        if (__builtin_expect(m_commentSink != nullptr, 0) && *p != '\0')
            PassComment(p, true);
    }
    m_scan = p;
    return 1;
}

// A comment stands on the line of the token before it unless a line was read since that
// token, or the token was a form's "(" (the comment then goes with the form it opens).
__attribute__((noinline)) void Lexer::PassComment(const char* mark, bool lineRead)
{
    const bool sameLine = !lineRead && m_scan != m_lineBuffer.Data() && m_scan[-1] != '(';
    m_commentSink->Comment(mark, std::strlen(mark), sameLine);
}

Lexer::Lexer(Reporter& reporter, const NameIndex& names, char escape, bool extended, int options)
    : m_reporter(reporter),
      m_names(names),
      m_esc(escape),
      m_extended(extended),
      m_options(options),
      m_scan(m_lineBuffer.Data()),
      m_tok{m_tokBuffer.Data(), 0, zelKW_DUMMY, kNameUnknown},
      m_textLimit(kMaxInputText)
{
    AnchorPlaces();
}

Lexer::~Lexer()
{
    std::free(m_block);
    std::free(m_opens);
}

void Lexer::SetInput(FILE* in)
{
    m_in = in;
    m_blockLength = m_blockPos = m_blockNul = 0;
}

void Lexer::Reset()
{
    m_lineBuffer.Data()[0] = '\0';
    m_scan = m_lineBuffer.Data();
    m_lineNo = 0;
    AnchorPlaces();
    m_tokenCount = 0;
    ClearToken();
    m_depth = 0;
    m_tokPlace = 0;
    m_endedInsideToken = false;
    m_inputEnded = false;
    m_readStopped = false;
}

}  // namespace zel
