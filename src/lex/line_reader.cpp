// Line reader: fills the line buffer from the input stream, one physical line at a time.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "lex/char_class.h"
#include "zel/parser.h"

bool CZelParser::GrowLine(size_t needed)
{
    if (needed <= m_lineCap)
        return true;
    size_t capacity = m_lineCap;
    while (capacity < needed)
        capacity *= 2;
    char* block = m_line == m_lineFixed ? static_cast<char*>(std::malloc(capacity))
                                        : static_cast<char*>(std::realloc(m_line, capacity));
    if (!block)
        return false;
    if (m_line == m_lineFixed)
        std::memcpy(block, m_lineFixed, m_lineCap);
    if (m_scan)
        m_scan = block + (m_scan - m_line);
    m_line = block;
    m_lineCap = capacity;
    return true;
}

void CZelParser::SetLineText(const char* text)
{
    size_t length = text ? std::strlen(text) : 0;
    if (!GrowLine(length + 1)) {
        ReportError(zelERR_BUFFER_LENGTH, 0);
        length = 0;
    }
    if (length)
        std::memcpy(m_line, text, length);
    m_line[length] = '\0';
    m_scan = m_line;
    m_inputEnded = false;
}

namespace {

const size_t kReadBlock = 64 * 1024;

}  // namespace

// Reads the next block of the input stream into the read-ahead; false at its end.
bool CZelParser::FillBlock()
{
    if (!m_block && !(m_block = static_cast<char*>(std::malloc(kReadBlock))))
        return false;
    m_blockLength = std::fread(m_block, 1, kReadBlock, m_in);
    m_blockPos = 0;
    return m_blockLength > 0;
}

char* CZelParser::GetLine()
{
    ++m_lineNo;
    if (!m_in || m_fromText)
        return nullptr;
    // A whole physical line is taken from the read-ahead, however long: the line buffer
    // grows to hold it, so no token is ever cut at a buffer boundary.
    size_t length = 0;
    for (;;) {
        if (m_blockPos == m_blockLength && !FillBlock())
            break;
        const char* start = m_block + m_blockPos;
        const size_t available = m_blockLength - m_blockPos;
        const char* feed = static_cast<const char*>(std::memchr(start, '\n', available));
        const size_t take = feed ? static_cast<size_t>(feed - start) + 1 : available;
        if (!GrowLine(length + take + 1)) {
            ReportError(zelERR_BUFFER_LENGTH, 0);
            break;
        }
        std::memcpy(m_line + length, start, take);
        length += take;
        m_blockPos += take;
        if (feed)
            break;
    }
    if (length == 0)
        return nullptr;
    m_line[length] = '\0';
    return m_line;
}

int CZelParser::Nexttok()
{
    // Whitespace is passed over; the end of the line, ";" and "#" (a comment to the end of
    // the line) take the next line.
    char* p = m_scan;
    for (;;) {
        while (zel::IsSpace(*p))
            ++p;
        if (!zel::EndsLine(*p))
            break;
        if (!GetLine()) {
            m_scan = nullptr;
            m_tokType = zelKW_EOFILE;
            m_inputEnded = true;
            return 0;
        }
        p = m_line;
    }
    m_scan = p;
    return 1;
}
