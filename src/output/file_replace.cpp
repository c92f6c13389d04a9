// Safe replacement of a named file through a new file in the same directory.
#include "output/file_replace.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zel {

namespace {

const int kMaxLinks = 40;  // as the system's own path resolution allows

// The directory part of path with its trailing slash, or "" for a bare name.
std::string DirectoryOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Follows symbolic links from name to the file they lead to. False for a loop of links or
// a link that cannot be read; a missing final file is no failure.
bool ResolveLinks(const char* name, std::string& target)
{
    target = name;
    for (int hops = 0;; ++hops) {
        struct stat status;
        if (lstat(target.c_str(), &status) != 0)
            return errno == ENOENT;
        if (!S_ISLNK(status.st_mode))
            return true;
        if (hops == kMaxLinks) {
            errno = ELOOP;
            return false;
        }
        char link[PATH_MAX];
        const ssize_t length = readlink(target.c_str(), link, sizeof link);
        if (length <= 0 || static_cast<size_t>(length) >= sizeof link) {
            if (length > 0)
                errno = ENAMETOOLONG;
            return false;
        }
        const std::string next(link, static_cast<size_t>(length));
        target = next[0] == '/' ? next : DirectoryOf(target) + next;
    }
}

// Creates a new file with an unguessable name in directory, exclusively, with the given
// mode (less the umask). Returns its descriptor and name, or -1.
int CreateUnique(const std::string& directory, mode_t mode, std::string& name)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned char random[12];
        if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random))
            return -1;
        name = directory + ".zel-";
        for (unsigned char r : random)
            name += kLetters[r % (sizeof kLetters - 1)];
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Copies the content of the file at path to out; true when all of it was copied.
bool CopyContent(const std::string& path, FILE* out)
{
    FILE* in = std::fopen(path.c_str(), "rb");
    if (!in)
        return false;
    char buffer[64 * 1024];
    size_t length;
    bool copied = true;
    while (copied && (length = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        copied = std::fwrite(buffer, 1, length, out) == length;
    copied = copied && !std::ferror(in);
    std::fclose(in);
    return copied;
}

}  // namespace

FileReplacement::~FileReplacement() { Abandon(); }

void FileReplacement::Abandon()
{
    // The clean-up keeps errno, so that a failed step's reason reaches the caller.
    const int reason = errno;
    if (m_stream)
        std::fclose(m_stream);
    m_stream = nullptr;
    if (!m_temporary.empty())
        unlink(m_temporary.c_str());
    m_temporary.clear();
    errno = reason;
}

bool FileReplacement::Begin(const char* name, bool append)
{
    Abandon();
    if (!name || !*name || !ResolveLinks(name, m_target))
        return false;
    struct stat status;
    const bool exists = stat(m_target.c_str(), &status) == 0;
    // What the mode "w" would refuse is refused: a file the user may not write.
    if (exists && access(m_target.c_str(), W_OK) != 0)
        return false;
    if (exists && !S_ISREG(status.st_mode)) {
        m_stream = std::fopen(m_target.c_str(), append ? "a" : "w");
        return m_stream != nullptr;
    }
    // An existing file's copy is made private first and takes its bits before any byte
    // is written to it.
    const int fd = CreateUnique(DirectoryOf(m_target), exists ? 0600 : 0666, m_temporary);
    if (fd < 0) {
        m_temporary.clear();
        return false;
    }
    if (exists) {
        // The owner is kept where the system allows it; elsewhere the file is the writer's.
        if (fchown(fd, status.st_uid, status.st_gid) != 0)
            errno = 0;
        if (fchmod(fd, status.st_mode & 07777) != 0) {
            close(fd);
            Abandon();
            return false;
        }
    }
    m_stream = fdopen(fd, "w");
    if (!m_stream) {
        close(fd);
        Abandon();
        return false;
    }
    if (append && exists && !CopyContent(m_target, m_stream)) {
        Abandon();
        return false;
    }
    return true;
}

bool FileReplacement::Commit()
{
    if (!m_stream)
        return false;
    bool written = std::fflush(m_stream) == 0 && !std::ferror(m_stream);
    if (m_temporary.empty()) {
        written = std::fclose(m_stream) == 0 && written;
        m_stream = nullptr;
        return written;
    }
    written = written && fsync(fileno(m_stream)) == 0;
    written = std::fclose(m_stream) == 0 && written;
    m_stream = nullptr;
    if (!written || std::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        Abandon();
        return false;
    }
    m_temporary.clear();
    // The rename itself reaches the disk with the directory.
    const std::string directory = DirectoryOf(m_target);
    const int dir = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

}  // namespace zel
