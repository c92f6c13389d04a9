// Safe replacement of a named file: the new content goes to a new file beside it, which
// takes the old file's place only when it is complete on disk.
#ifndef ZEL_OUTPUT_FILE_REPLACE_H
#define ZEL_OUTPUT_FILE_REPLACE_H

#include <cstdio>
#include <string>

namespace zel {

// One replacement: Begin, write to Stream, Commit. Until Commit succeeds the target is
// untouched; a replacement that is not committed removes its new file when it ends.
//
// The target is the file a name leads to through any symbolic links (relative ones are
// resolved from the link's directory; the final file need not exist), so the links stay.
// The new file is created exclusively under an unguessable name in the target's
// directory; it takes the target's permission bits (and owner, where allowed), or
// 0666 less the umask for a new target. A target that is not a regular file (a device,
// a pipe) cannot be replaced and is written in place, with every write checked.
// After a failed step errno holds the reason of the system call that failed.
class FileReplacement {
public:
    FileReplacement() = default;
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;
    ~FileReplacement();

    // Prepares the new file for name; with append, the target's content is copied into
    // it first. False when the name is empty, the target exists and may not be written,
    // or the new file cannot be made.
    bool Begin(const char* name, bool append);
    // The stream of the new file; null before Begin succeeds and after Commit.
    FILE* Stream() const { return m_stream; }
    // Flushes, syncs and closes the new file and renames it over the target. False when
    // any write or step failed; the target is then left as it was.
    bool Commit();

private:
    void Abandon();

    FILE* m_stream = nullptr;
    std::string m_target;     // the file that is replaced
    std::string m_temporary;  // the new file; empty when writing in place
};

}  // namespace zel

#endif
