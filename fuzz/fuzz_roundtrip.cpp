// Fuzz target: text that parses without a message is written, read back and written
// again, and then edited as the rest of the input says; the checks are those of the
// property test (tests/support/generate.h), with comments kept when the mode byte has
// 0x40. Input: a mode byte, the document up to a NUL byte, then the edits.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "fuzz_support.h"
#include "support/generate.h"
#include "support/test_grammars.h"

namespace {

void Check(const zeltest::Settings& st, const std::string& failure)
{
    if (failure.empty())
        return;
    std::fprintf(stderr, "%s\n%s", st.Text().c_str(), failure.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static const std::string dir = [] {
        const std::string name = "/tmp/zel-fuzz-roundtrip-" + std::to_string(getpid());
        mkdir(name.c_str(), 0700);
        return name;
    }();
    const uint8_t mode = data[0];
    const auto& grammars = zelfuzz::Grammars();
    zelParserS* grammar = grammars[mode % grammars.size()];
    const zeltest::Settings st{(mode >> 2) & 1, (mode & 0x20) ? '\\' : '\0', (mode >> 3) & 1, 0, (mode >> 6) & 1};
    const char* begin = reinterpret_cast<const char*>(data + 1);
    const char* nul = static_cast<const char*>(std::memchr(begin, 0, size - 1));
    const std::string text(begin, nul ? nul : begin + size - 1);

    zeltest::RecordingParser parser(grammar, 16, 1 << 16, st.escape, st.extended);
    parser.SetKeepComments(st.keepComments);
    if (parser.Parse(zelfuzz::ScratchFile(text).c_str(), "r", -1L, st.engine) != 0 || !parser.reports.empty() ||
        parser.GetGoalCount() == 0)
        return 0;
    Check(st, zeltest::CheckRoundTrip(parser, grammar, st, dir));

    const size_t edits = nul ? static_cast<size_t>(nul + 1 - begin) : size - 1;
    zelfuzz::ByteReader in(data + 1 + edits, size - 1 - edits);
    bool readsBack = true;
    for (int steps = 0; !in.Done() && steps < 16; ++steps) {
        zeltest::Edit edit;
        edit.op = in.Byte() % zeltest::Edit::kOpCount;
        edit.node = in.Byte();
        edit.text = in.Text();
        edit.number = static_cast<int8_t>(in.Byte()) * 16777215;  // reaches both ends of the int range
        edit.real = static_cast<int8_t>(in.Byte()) / 7.0;
        Check(st, zeltest::ApplyEdit(parser, grammar, st, edit, dir, readsBack));
    }
    return 0;
}
