// Named files are replaced whole or not at all: links, permission bits, append modes, and
// the file left as it was on every failure.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

struct Output_FileReplace : ::testing::Test {
    void SetUp() override
    {
        char pattern[] = "/tmp/zel-replace-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        dir = pattern;
        ASSERT_EQ(0, ParseLine(p, "(design a (cell c)) (design b)"));
    }
    void TearDown() override { EXPECT_EQ(0, std::system(("chmod -R u+w " + dir + " && rm -rf " + dir).c_str())); }
    std::string Put(const std::string& name, const std::string& text, mode_t mode = 0644)
    {
        const std::string path = dir + "/" + name;
        FILE* f = std::fopen(path.c_str(), "w");
        std::fputs(text.c_str(), f);
        std::fclose(f);
        chmod(path.c_str(), mode);
        return path;
    }
    mode_t Bits(const std::string& path) { struct stat st; return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0; }
    bool IsLink(const std::string& path) { struct stat st; return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode); }
    // The names in the directory that are no file of the test: left-over new files.
    int Strays()
    {
        int strays = 0;
        DIR* d = opendir(dir.c_str());
        while (dirent* entry = readdir(d))
            strays += std::string(entry->d_name).compare(0, 5, ".zel-") == 0;
        closedir(d);
        return strays;
    }
    std::string Outcome(int result) { return std::to_string(result) + "/" + std::to_string(p.GetErrno()); }

    Grammar g = NetlistGrammar();
    RecordingParser p{g.get()};
    std::string dir;
    const std::string first = "\n(design  a\n (cell  c))";
};

// Runs check as a user other than root (root may write anything), in a child process when
// the test runs as root. Returns what check returns.
template <typename Check>
bool AsOrdinaryUser(Check check)
{
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0)
        _exit(setgid(65534) == 0 && setuid(65534) == 0 && check() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

// The file behind a chain of links (absolute, relative, dangling) is replaced and the links
// stay; the permission bits stay; a new file gets 0666 less the umask; "a" and "a+" keep the
// old text in front, "r+" replaces it whole; no new file is left behind.
TEST_F(Output_FileReplace, ReplacesTheFileBehindLinksAndKeepsItsBits)
{
    const std::string real = Put("real.zel", "old text that is longer than the new text of the first goal\n", 0640);
    ASSERT_EQ(0, symlink("real.zel", (dir + "/relative").c_str()));
    ASSERT_EQ(0, symlink((dir + "/relative").c_str(), (dir + "/absolute").c_str()));
    EXPECT_EQ("0/0", Outcome(p.WriteFile((dir + "/absolute").c_str(), "w")));
    EXPECT_TRUE(IsLink(dir + "/absolute") && IsLink(dir + "/relative"));
    EXPECT_EQ(first, ReadFile(real));
    EXPECT_EQ(0640u, Bits(real));
    EXPECT_EQ(0, p.WriteFile((dir + "/relative").c_str(), "a"));
    EXPECT_EQ(first + first, ReadFile(real));
    EXPECT_EQ(0, p.WriteFile(real.c_str(), "a+"));
    EXPECT_EQ(first + first + first, ReadFile(real));
    EXPECT_EQ(0, p.WriteFile(real.c_str(), "r+"));
    EXPECT_EQ(first, ReadFile(real));
    EXPECT_EQ(0640u, Bits(real));

    // A dangling link makes the file it names; every goal is saved there.
    ASSERT_EQ(0, mkdir((dir + "/sub").c_str(), 0755));
    ASSERT_EQ(0, symlink("sub/new.zel", (dir + "/dangling").c_str()));
    const mode_t mask = umask(027);
    p.SetOfname((dir + "/dangling").c_str());
    EXPECT_EQ("0/0", Outcome(p.Save()));
    umask(mask);
    EXPECT_TRUE(IsLink(dir + "/dangling"));
    EXPECT_EQ(first + "\n(design  b)", ReadFile(dir + "/sub/new.zel"));
    EXPECT_EQ(0640u, Bits(dir + "/sub/new.zel"));

    p.DumpFile(real.c_str(), 0, nullptr);
    EXPECT_EQ(first + "\n(design  b)\n", ReadFile(real));
    EXPECT_EQ(0640u, Bits(real));
    EXPECT_EQ(0, Strays());
}

// A write that fails (a full device, a file size limit, a directory or file the user may not
// write) gives 1 with state 4 (the dump: state 5) and leaves the file byte for byte.
TEST_F(Output_FileReplace, FailuresLeaveTheFileAsItWas)
{
    EXPECT_EQ("1/4", Outcome(p.WriteFile("/dev/full", p.GetGoalAt(0), 0, nullptr)));
    EXPECT_EQ("1/4", Outcome(p.WriteFile("/dev/full", "w")));
    p.SetOfname("/dev/full");
    EXPECT_EQ("1/4", Outcome(p.Save()));
    p.DumpFile("/dev/full", 0, nullptr);
    EXPECT_EQ(5, p.GetErrno());
    EXPECT_NE(std::string::npos, p.output.find("Error writing file: /dev/full\n"));
    FILE* full = std::fopen("/dev/full", "w");
    EXPECT_EQ("1/4", Outcome(p.WriteFile(full)));
    std::fclose(full);

    // More text than the file size limit allows: the new file fails, the old one stays.
    const std::string old = "(design old)\n", target = Put("target.zel", old);
    std::string big = "(design big";
    for (int i = 0; i < 2000; ++i)
        big += " (cell c" + std::to_string(i) + ")";
    ASSERT_EQ(0, ParseLine(p, big + ")"));
    rlimit limit;
    ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &limit));
    const rlimit small = {4096, limit.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
    p.SetOfname(target.c_str());
    const std::string saved = Outcome(p.Save());
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ("1/4", saved);
    EXPECT_EQ(old, ReadFile(target));
    EXPECT_EQ(0, Strays());

    // Read-only: the directory (no new file can be made there) and the file itself.
    ASSERT_EQ(0, mkdir((dir + "/locked").c_str(), 0777));
    const std::string locked = Put("locked/x.zel", old, 0666), readOnly = Put("read-only.zel", old, 0444);
    chmod((dir + "/locked").c_str(), 0555);
    chmod(dir.c_str(), 0777);
    EXPECT_TRUE(AsOrdinaryUser([&] {
        return Outcome(p.WriteFile(locked.c_str(), "w")) == "1/4" && Outcome(p.WriteFile(readOnly.c_str(), "a")) == "1/4" &&
               Outcome(p.WriteFile(readOnly.c_str(), p.GetGoalAt(0), 0, nullptr)) == "1/4";
    }));
    EXPECT_EQ(old, ReadFile(locked));
    EXPECT_EQ(old, ReadFile(readOnly));
    EXPECT_EQ(0, Strays());
}
