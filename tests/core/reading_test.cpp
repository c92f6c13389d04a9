// What a file parse reads: read-only files, files that fail to read, and counters that the
// length of the input drives.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "support/test_access.h"
#include "support/test_grammars.h"

using namespace zeltest;
using A = CZelTestAccess;

// A plain parse opens for update; a file that may only be read is parsed all the same, and a
// later Save fails without touching it. (Run by a user without the privilege to write it.)
TEST(Core_Reading, ReadOnlyFileParsesAndSaveFailsCleanly)
{
    const std::string text = "(design top (cell a))\n";
    const std::string file = TempFile(text);
    ASSERT_EQ(0, chmod(file.c_str(), 0444));
    if (FILE* writable = std::fopen(file.c_str(), "r+")) {  // privileged users write read-only files
        std::fclose(writable);
        std::remove(file.c_str());
        GTEST_SKIP() << "read-only files are writable for this user";
    }
    Grammar g = NetlistGrammar();
    RecordingParser p(g.get());
    EXPECT_EQ(0, p.Parse(file.c_str(), 0));
    EXPECT_EQ("(design top (cell a))", Shapes(p));
    EXPECT_EQ(file, std::string(p.GetOfname()));
    EXPECT_EQ(1, p.Save());
    EXPECT_EQ(text, ReadFile(file));
    // A file that may only be written fails to open; it is not emptied.
    ASSERT_EQ(0, chmod(file.c_str(), 0200));
    EXPECT_EQ(1, p.Parse(file.c_str(), 0));
    EXPECT_EQ(4, p.GetErrno());
    ASSERT_EQ(0, chmod(file.c_str(), 0600));
    EXPECT_EQ(text, ReadFile(file));
    std::remove(file.c_str());
}

// A stream that fails to read is no end of input: the failure names the file and fails the
// parse, whether it was opened for update or for reading.
TEST(Core_Reading, ReadErrorIsReportedWithTheFileName)
{
    Grammar g = NetlistGrammar();
    const std::string base = TempFile(""), dir = base + ".d";
    ASSERT_EQ(0, mkdir(dir.c_str(), 0755));
    for (const char* mode : {"rw", "r"}) {
        RecordingParser p(g.get());
        EXPECT_NE(0, p.Parse(dir.c_str(), mode, -1, 0)) << mode;
        EXPECT_EQ((std::vector<std::string>{"3@1:Error reading database file: " + dir + "\n"}), p.reports) << mode;
    }
    rmdir(dir.c_str());
    std::remove(base.c_str());
}

// Counters near the top of the int range stay there; none overflows.
TEST(Core_Reading, CountersSaturate)
{
    Grammar g = NetlistGrammar();
    RecordingParser p(g.get());
    const std::string file = TempFile("(a\n(b\n(c ) ) ) ) )\n\"open\n");
    ASSERT_EQ(1, p.Open(file.c_str(), "r"));
    A::SetLineNo(p, INT_MAX - 1);
    A::SetTokenCount(p, INT_MAX - 1);
    A::SetDepth(p, INT_MAX - 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(1, A::Gettok(p));
    EXPECT_EQ(INT_MAX, A::LineNo(p));
    EXPECT_EQ(INT_MAX, A::TokenCount(p));
    EXPECT_EQ(INT_MAX, A::Depth(p));
    A::SetDepth(p, INT_MIN + 3);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(1, A::Gettok(p));
    EXPECT_EQ(INT_MIN + 1, A::Depth(p));
    EXPECT_EQ(0, A::Gettok(p));  // the string left open is reported on the last line counted
    EXPECT_EQ((std::vector<std::string>{"3@2147483647:Unexpected end of file.\n"}), p.reports);

    p.SetStatistics(1);
    A::SetStringBytes(p, INT_MAX - 3);
    A::SetToken(p, "abcdef");
    delete A::AddObj(p, 24);
    EXPECT_EQ(INT_MAX, A::StringBytes(p));

    // The entry points count past the report cap without a report; the count stops at the top.
    const std::string empty = TempFile("");
    ASSERT_EQ(1, p.Open(empty.c_str(), "r"));
    A::SetErrorCount(p, INT_MAX);
    EXPECT_EQ(INT_MAX, p.Parse(0));
    A::SetErrorCount(p, INT_MAX);
    p.ReportError(zelERR_SYNTAX, 0);
    EXPECT_EQ(INT_MAX, A::ErrorCount(p));
    p.Close();
    std::remove(file.c_str());
    std::remove(empty.c_str());
}
