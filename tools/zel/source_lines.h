// The lines of an input, read again to show where a report points.
#ifndef ZEL_TOOLS_SOURCE_LINES_H
#define ZEL_TOOLS_SOURCE_LINES_H

#include <cstdio>
#include <string>

namespace zeltool {

// Reads single lines of a regular file by number, opening it at the first request, or of
// a copy kept in an unnamed temporary file (standard input). Anything else (a FIFO, a
// device) has no lines to show: reading it again would wait or read other bytes.
class SourceLines {
public:
    // The lines of the named file; "" for none.
    explicit SourceLines(const std::string& path = "");
    ~SourceLines();
    SourceLines(const SourceLines&) = delete;
    SourceLines& operator=(const SourceLines&) = delete;

    enum KeepResult { kKept, kNoCopy, kFailed };
    // Copies all of in into an unnamed temporary file, which this object then reads and
    // which can be opened again as Path(). kNoCopy: no temporary file could be made, in is
    // untouched; kFailed: reading in or writing the copy failed, errno tells why.
    KeepResult Keep(FILE* in);
    // The name under which the kept copy opens again ("/dev/fd/N"); "" for none.
    std::string Path() const;

    // Stores line number (1-based) without its line break in text. False when the file
    // has no such line or cannot be read. Reports come in line order, several often on one
    // line: the file is read on from the last line asked for, which is kept, and read
    // again from its start only for an earlier line.
    bool Line(int number, std::string& text);

private:
    bool Open();

    std::string m_path;
    FILE* m_file = nullptr;
    bool m_opened = false;     // Open ran
    int m_nextLine = 1;        // the number of the line at the stream's position
    int m_lastNumber = 0;      // the last line found, and its text
    std::string m_lastText;
};

}  // namespace zeltool

#endif
