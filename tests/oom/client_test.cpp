// Allocation failures: every operation of the library is run with its n-th allocation
// failing, for every n until it runs through. No exception may leave the library, and an
// operation that reports success must have done its work in full.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "oom/failing_allocator.h"
#include "support/test_grammars.h"

using namespace zeltest;

namespace {

// Runs one call into the library with the failing allocation armed.
template <typename Call>
auto Library(Call call)
{
    const ArmedAllocations armed;
    return call();
}

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

// A parser whose message hook allocates nothing: the heap messages it receives are counted.
class CountingParser : public CZelParser {
public:
    using CZelParser::CZelParser;
    void WriteMsg(const char* format, ...) override
    {
        if (std::strstr(format, "allocating"))
            ++heapMessages;
    }
    void PrintError(zelSevCode, int, const char*) override {}
    int heapMessages = 0;
};

// One run of a client's road with the n-th allocation inside the library failing: compile,
// parse, find, edit from text and by keyword, write to a file and to a list. Returns true
// when every step reported success; written receives the list text then.
bool RunClient(long failAt, const std::string& input, const std::string& output, std::string& written, bool& reported)
{
    FailAllocation(failAt);
    CZelGrammar grammar;
    CountingParser* parser = nullptr;
    bool ok = Library([&] { return grammar.Compile(kGrammarText) == 0; });
    if (ok)
        parser = Library([&] { return new (std::nothrow) CountingParser(grammar.GetDescriptor(), 16, 64); });
    ok = ok && parser;
    // The constructor has no hook to report through yet: it writes to standard output.
    const bool failedInConstructor = AllocationFailed() && ok;
    if (ok)
        parser->SetStackGrowth(1);
    ok = ok && Library([&] { return parser->Parse(input.c_str(), "r", -1L, 1) == 0; });
    const CZelOid* design = ok ? Library([&] { return parser->GetGoal(grammar.GetKeywordId("design")); }) : nullptr;
    const CZelOid* cell = design ? Library([&] { return design->FindObj(grammar.GetKeywordId("cell"), "a"); }) : nullptr;
    ok = ok && cell && Library([&] { return parser->AddObject(cell, "(port q output)") != nullptr; });
    ok = ok && Library([&] { return cell->AppForm(grammar.GetKeywordId("net")) && design->AppIdent("b"); });
    ok = ok && Library([&] { return parser->WriteFile(output.c_str(), design, 0, nullptr) == 0; });
    CStringList list;
    ok = ok && Library([&] { return parser->WriteList(design, 0, &list) == 0; });
    written.clear();
    for (POSITION pos = list.GetHeadPosition(); ok && pos;)
        written += list.GetNext(pos);
    // A failure for want of memory reaches the user: through the parser's message hook,
    // or as the grammar's own error.
    reported = (parser && parser->heapMessages > 0) || !parser || failedInConstructor ||
               (grammar.GetErrors().GetCount() == 1 && grammar.GetErrors().GetHead() == CString("out of memory"));
    Library([&] { delete parser; return 0; });
    FailAllocation(-1);
    return ok;
}

}  // namespace

TEST(Oom_Client, EveryFailedAllocationFailsCleanly)
{
    const std::string input = TempFile(kDocument), output = TempFile("");
    std::string reference;
    bool reported = false;
    ASSERT_TRUE(RunClient(-1, input, output, reference, reported));
    const std::string referenceFile = ReadFile(output);
    long failures = 0;
    for (long failAt = 0; failAt < 100000; ++failAt) {
        std::remove(output.c_str());
        std::string written;
        bool ok = false;
        try {
            ok = RunClient(failAt, input, output, written, reported);
        } catch (...) {
            FailAllocation(-1);
            ADD_FAILURE() << "an exception left the library at allocation " << failAt;
            continue;
        }
        if (!ok) {
            EXPECT_TRUE(reported) << "allocation " << failAt << " failed without a word";
            ++failures;
            continue;
        }
        // Success means it happened: the same tree and the same file as without failures.
        EXPECT_EQ(reference, written) << "allocation " << failAt;
        EXPECT_EQ(referenceFile, ReadFile(output)) << "allocation " << failAt;
        if (!AllocationFailed())
            break;  // the run no longer reaches the failing allocation
    }
    EXPECT_GT(failures, 10);
}
