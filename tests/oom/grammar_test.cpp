// The grammar compiler when memory runs out: every allocation of a compile, in turn, is
// made to fail; the operations report it and no exception leaves them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "oom/failing_allocator.h"
#include "support/test_grammars.h"

namespace {

// Fails allocation number n of the compile from now on (counting from 0).
struct FailingAllocations {
    FailingAllocations(long n, bool all) { zeltest::FailAllocation(n, all); }
    ~FailingAllocations() { zeltest::FailAllocation(-1); }
    zeltest::ArmedAllocations armed;
};

const char* const kGrammar =
    "goal design\n"
    "form design = ident (cell | net)* ;\n"
    "form cell = ident INPUT? ;\n"
    "form net = ident string? real* ;\n";

}  // namespace

// Each allocation of Compile, CompileFile and WriteSource fails in turn, once and for
// good: the result is a failure with the one error "out of memory" (or none, when not even
// that fits), and a later compile works.
TEST(Oom_Grammar, OperationsReportInsteadOfThrowing)
{
    const std::string file = zeltest::TempFile(kGrammar, ".zelg");
    for (bool all : {false, true}) {
        for (int op = 0; op < 2; ++op) {
            bool completed = false;
            long n = 0;
            for (; !completed; ++n) {
                CZelGrammar g;
                int result;
                {
                    FailingAllocations failing(n, all);
                    result = op == 0 ? g.Compile(kGrammar) : g.CompileFile(file.c_str());
                }
                completed = result == 0;
                if (!completed) {
                    EXPECT_EQ(1, result) << n;
                    EXPECT_EQ(nullptr, g.GetDescriptor());
                    const auto errors = zeltest::Strings(g.GetErrors());
                    EXPECT_TRUE(errors == std::vector<std::string>{"out of memory"} || (all && errors.empty())) << n;
                    EXPECT_EQ(0, g.Compile(kGrammar));
                }
            }
            EXPECT_GT(n, 50) << "allocations of a compile";
        }
        CZelGrammar g;
        ASSERT_EQ(0, g.Compile(kGrammar));
        std::FILE* out = std::tmpfile();
        int result = 1;
        for (long n = 0; result != 0; ++n) {
            std::rewind(out);
            FailingAllocations failing(n, all);
            result = g.WriteSource(out, "t", "test");
        }
        std::fclose(out);
        EXPECT_NE(nullptr, g.GetDescriptor());
    }
}
