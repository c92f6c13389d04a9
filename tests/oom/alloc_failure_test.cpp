// Allocation failures: every operation of the library is run with its n-th allocation
// failing, for every n until it runs through. No exception may leave the library, and an
// operation that reports success must have done its work in full.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "support/test_grammars.h"

namespace {

// Allocations left before the one that fails; negative: none fails.
long g_allocationsLeft = -1;
bool g_failed = false;  // the armed allocation has failed

bool FailThisAllocation()
{
    if (g_allocationsLeft < 0 || g_allocationsLeft-- != 0)
        return false;
    g_failed = true;
    return true;
}

void* Allocate(size_t size)
{
    return FailThisAllocation() ? nullptr : std::malloc(size ? size : 1);
}

}  // namespace

void* operator new(size_t size)
{
    if (void* block = Allocate(size))
        return block;
    throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }
void operator delete[](void* block, size_t) noexcept { std::free(block); }

using namespace zeltest;

namespace {

const char kGrammarText[] =
    "goal design\n"
    "form design = ident version? cell* ;\n"
    "form version = int int int ;\n"
    "form cell = ident (port | net)* ;\n"
    "form port = ident direction width? ;\n"
    "form net = ident label? weight* ;\n"
    "choice direction = INPUT | OUTPUT | INOUT ;\n"
    "value width = int ; value label = string ; value weight = real ;\n";

const char kDocument[] = "(design top (version 1 2 3) (cell a (port p input 4) (net n \"x\" 1.5 2.25)))\n";

std::string ListText(CZelParser& parser)
{
    CStringList list;
    std::string text;
    for (int i = 0; i < parser.GetGoalCount(); ++i)
        parser.WriteList(parser.GetGoalAt(i), 0, &list);
    for (POSITION pos = list.GetHeadPosition(); pos;)
        text += list.GetNext(pos);
    return text;
}

// One run of the whole client road with the n-th allocation failing. Returns true when
// every step succeeded (then the results are checked against the reference).
bool RunClient(long failAt, const std::string& input, const std::string& output, std::string& written)
{
    g_allocationsLeft = failAt;
    g_failed = false;
    CZelGrammar grammar;
    if (grammar.Compile(kGrammarText) != 0) {
        g_allocationsLeft = -1;
        return false;
    }
    RecordingParser parser(grammar.GetDescriptor(), 16, 64);
    parser.SetStackGrowth(1);
    bool ok = parser.Parse(input.c_str(), "r", -1L, 1) == 0;
    const CZelOid* design = ok ? parser.GetGoal(grammar.GetKeywordId("design")) : nullptr;
    const CZelOid* cell = design ? design->FindObj(grammar.GetKeywordId("cell"), "a") : nullptr;
    ok = ok && cell && parser.AddObject(cell, "(port q output)");
    ok = ok && cell->AppForm(grammar.GetKeywordId("net")) && design->GetFirstIdent(static_cast<const char**>(nullptr));
    ok = ok && parser.WriteFile(output.c_str(), design, 0, nullptr) == 0;
    written = ok ? ListText(parser) : "";
    g_allocationsLeft = -1;
    return ok;
}

}  // namespace

TEST(Oom_Client, EveryFailedAllocationFailsCleanly)
{
    const std::string input = TempFile(kDocument), output = TempFile("");
    std::string reference;
    ASSERT_TRUE(RunClient(-1, input, output, reference));
    const std::string referenceFile = ReadFile(output);
    long failures = 0;
    for (long failAt = 0; failAt < 100000; ++failAt) {
        std::remove(output.c_str());
        std::string written;
        bool ok = false;
        try {
            ok = RunClient(failAt, input, output, written);
        } catch (...) {
            g_allocationsLeft = -1;
            ADD_FAILURE() << "an exception left the library at allocation " << failAt;
            continue;
        }
        if (!ok) {
            ++failures;
            continue;
        }
        // Success means it happened: the same tree and the same file as without failures.
        EXPECT_EQ(reference, written) << "allocation " << failAt;
        EXPECT_EQ(referenceFile, ReadFile(output)) << "allocation " << failAt;
        if (!g_failed)
            break;  // the run no longer reaches the failing allocation
    }
    EXPECT_GT(failures, 10);
    std::remove(input.c_str());
    std::remove(output.c_str());
}
