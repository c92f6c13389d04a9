// What a file parse reads: read-only files, files that fail to read, and counters that the
// length of the input drives.
#include <gtest/gtest.h>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

#include "core/parser_access.h"
#include "support/components.h"

using namespace zeltest;

// A plain parse opens for update; a file that may only be read is parsed all the same, and a
// later Save fails without touching it. (Run by a user without the privilege to write it.)
TEST(Core_Reading, ReadOnlyFileParsesAndSaveFailsCleanly)
{
    const std::string text = "(design top (cell a))\n";
    const std::string file = TempFile(text);
    ASSERT_EQ(0, chmod(file.c_str(), 0444));
    if (FILE* writable = std::fopen(file.c_str(), "r+")) {  // privileged users write read-only files
        std::fclose(writable);
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
}

// Counters near the top of the int range stay there; none overflows.
TEST(Core_Reading, CountersSaturate)
{
    Grammar g = NetlistGrammar();
    Components c(g.get());
    c.SetFile("(a\n(b\n(c ) ) ) ) )\n\"open\n");
    zel::Lexer& lexer = c.lexer;
    lexer.SetCounters(INT_MAX - 1, INT_MAX - 1);
    lexer.SetDepth(INT_MAX - 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(1, lexer.Gettok());
    EXPECT_EQ((std::vector<int>{INT_MAX, INT_MAX, INT_MAX}), (std::vector<int>{lexer.LineNo(), lexer.TokenCount(), lexer.Depth()}));
    lexer.SetDepth(INT_MIN + 3);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(1, lexer.Gettok());
    EXPECT_EQ(INT_MIN + 1, lexer.Depth());
    EXPECT_EQ(0, lexer.Gettok());  // the string left open is reported on the last line counted
    EXPECT_EQ((std::vector<std::string>{"3@2147483647:Unexpected end of file.\n"}), c.hooks.reports);

    // The string bytes of the statistics.
    RecordingParser p(g.get());
    zel::ParserImpl& impl = zel::ParserAccess::Of(p);
    p.SetStatistics(1);
    impl.store.SetStringBytes(INT_MAX - 3);
    impl.lexer.SetToken("abcdef");
    delete impl.engines.MakeNode(NR_NET_STRING);
    EXPECT_EQ(INT_MAX, impl.store.StringBytes());

    // The entry points count past the report cap without a report; the count stops at the top.
    const std::string empty = TempFile("");
    ASSERT_EQ(1, p.Open(empty.c_str(), "r"));
    impl.reporter.SetErrors(INT_MAX);
    EXPECT_EQ(INT_MAX, p.Parse(0));
    impl.reporter.SetErrors(INT_MAX);
    p.ReportError(zelERR_SYNTAX, 0);
    EXPECT_EQ(INT_MAX, impl.reporter.Errors());
    p.Close();
}
