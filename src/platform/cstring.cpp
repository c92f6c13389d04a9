// CString: a growable text backed by std::string.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "zel/platform.h"

CString::CString() = default;
CString::CString(const char* text) : m_text(text ? text : "") {}
CString::CString(const CString& other) = default;
CString& CString::operator=(const CString& other) = default;
CString::~CString() = default;

CString& CString::operator=(const char* text)
{
    m_text.assign(text ? text : "");
    return *this;
}

int CString::GetLength() const { return static_cast<int>(m_text.size()); }

bool CString::IsEmpty() const { return m_text.empty(); }

char* CString::GetBuffer(int minLength)
{
    if (minLength > 0 && static_cast<size_t>(minLength) > m_text.size())
        m_text.resize(static_cast<size_t>(minLength));
    return &m_text[0];
}

void CString::ReleaseBuffer(int newLength)
{
    size_t length = newLength < 0 ? std::strlen(m_text.c_str()) : static_cast<size_t>(newLength);
    if (length < m_text.size())
        m_text.resize(length);
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int needed = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (needed < 0) {
        m_text.clear();
    } else {
        m_text.resize(static_cast<size_t>(needed));
        std::vsnprintf(&m_text[0], static_cast<size_t>(needed) + 1, format, again);
    }
    va_end(again);
}

void CString::MakeUpper()
{
    for (char& c : m_text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
}

void CString::MakeLower()
{
    for (char& c : m_text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

bool CString::operator==(const char* text) const { return m_text == (text ? text : ""); }
