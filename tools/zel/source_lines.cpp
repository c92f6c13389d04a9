// The lines of an input, read again to show where a report points.
#include "source_lines.h"

#include <cerrno>
#include <sys/stat.h>

namespace zeltool {

SourceLines::SourceLines(const std::string& path) : m_path(path) {}

SourceLines::~SourceLines()
{
    if (m_file)
        std::fclose(m_file);
}

SourceLines::KeepResult SourceLines::Keep(FILE* in)
{
    FILE* copy = std::tmpfile();
    if (!copy)
        return kNoCopy;
    char block[1 << 16];
    size_t n;
    errno = 0;
    while ((n = std::fread(block, 1, sizeof block, in)) > 0)
        if (std::fwrite(block, 1, n, copy) != n)
            break;
    const int reason = errno;
    const bool kept = !std::ferror(in) && !std::ferror(copy) && std::fflush(copy) == 0;
    if (!kept) {
        std::fclose(copy);
        errno = reason;
        return kFailed;
    }
    if (m_file)
        std::fclose(m_file);
    m_file = copy;
    m_opened = true;
    m_path.clear();
    std::rewind(m_file);
    m_nextLine = 1;
    m_lastNumber = 0;
    return kKept;
}

std::string SourceLines::Path() const
{
    return m_opened && m_file && m_path.empty() ? "/dev/fd/" + std::to_string(fileno(m_file)) : "";
}

bool SourceLines::Open()
{
    if (m_opened)
        return m_file != nullptr;
    m_opened = true;
    struct stat status;
    if (m_path.empty() || stat(m_path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    m_file = std::fopen(m_path.c_str(), "rb");
    return m_file != nullptr;
}

bool SourceLines::Line(int number, std::string& text)
{
    if (number < 1 || !Open())
        return false;
    if (number == m_lastNumber) {
        text = m_lastText;
        return true;
    }
    if (number < m_nextLine) {
        std::rewind(m_file);
        m_nextLine = 1;
    }
    text.clear();
    bool found = false;
    for (int c; !found && (c = std::getc(m_file)) != EOF;) {
        if (c == '\n')
            found = m_nextLine++ == number;
        else if (m_nextLine == number)
            text += static_cast<char>(c);
    }
    if (!found && m_nextLine == number && !text.empty()) {
        found = true;  // the last line, without a line break
        ++m_nextLine;
    }
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    if (found) {
        m_lastNumber = number;
        m_lastText = text;
    }
    return found;
}

}  // namespace zeltool
