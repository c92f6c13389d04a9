// Fuzz target: the grammar compiler on any text. The input is the grammar, a NUL byte and
// a sample: a grammar that compiles is also written as C++ source and used to parse the
// sample.
#include <cstdio>
#include <cstring>

#include "fuzz_support.h"
#include "support/test_grammars.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char* begin = reinterpret_cast<const char*>(data);
    const char* nul = static_cast<const char*>(std::memchr(begin, 0, size));
    const std::string grammarText(begin, nul ? nul : begin + size);
    const std::string sample = nul ? std::string(nul + 1, begin + size) : std::string();

    CZelGrammar grammar;
    if (grammar.Compile(grammarText.c_str()) != 0)
        return 0;
    static FILE* sink = std::fopen("/dev/null", "w");
    grammar.WriteSource(sink, "fuzz", "fuzz input");
    CZelParser parser(grammar.GetDescriptor(), 16, 4096);
    CStringList lines;
    lines.AddTail(sample.c_str());
    parser.Parse(&lines);
    zeltest::WrittenList(parser);
    return 0;
}
