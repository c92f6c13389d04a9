// Every example grammar, compiled, passes the parser's check of grammar tables, with its
// row count and without one.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_access.h"
#include "support/test_grammars.h"

extern zelParserS netlist_grammar;  // written by "zel gen" at build time

TEST(Grammar_Tables, ExampleGrammarsPassTheCheck)
{
    int compiled = 0;
    for (const auto& dir : std::filesystem::directory_iterator(ZEL_EXAMPLES_DIR)) {
        if (!dir.is_directory())
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
            if (entry.path().extension() != ".zelg")
                continue;
            CZelGrammar g;
            ASSERT_EQ(0, g.CompileFile(entry.path().c_str())) << entry.path();
            ++compiled;
            zelParserS descriptor = *g.GetDescriptor();
            for (int count : {descriptor.semCount, 0}) {
                descriptor.semCount = count;
                zeltest::RecordingParser p(&descriptor);
                EXPECT_TRUE(CZelTestAccess::HasGrammar(p)) << entry.path() << " " << count;
            }
        }
    }
    EXPECT_GE(compiled, 2);
    zeltest::RecordingParser p(&netlist_grammar);
    EXPECT_TRUE(CZelTestAccess::HasGrammar(p));
}
