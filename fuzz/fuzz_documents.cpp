// Fuzz target: the input bytes choose a grammar the greedy parser reads unambiguously and
// a document of it; the document must read without a message as the tree it was written
// for, and each of its mutations must be refused. Input: a mode byte (bit 0 extended rules,
// bit 1 iterative engine), then the choices.
#include <cstdio>
#include <cstdlib>

#include "fuzz_support.h"
#include "support/document_generator.h"
#include "support/generate.h"
#include "support/test_grammars.h"

namespace {

[[noreturn]] void Fail(const std::string& grammar, const std::string& what)
{
    std::fprintf(stderr, "-- grammar:\n%s%s\n", grammar.c_str(), what.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int extended = data[0] & 1, engine = (data[0] >> 1) & 1;
    zeltest::Rng s(data + 1, size - 1);
    const std::string grammarText = zeltest::GenerateUnambiguousGrammar(s);
    CZelGrammar grammar;
    if (grammar.Compile(grammarText.c_str()) != 0)
        Fail(grammarText, "-- does not compile");
    const zeltest::GeneratedDocument document = zeltest::GenerateValidDocument(*grammar.GetDescriptor(), s);
    if (document.text.empty())
        return 0;
    const std::string failure =
        zeltest::CheckDocument(grammar.GetDescriptor(), document, extended, engine, zelfuzz::ScratchFile(""));
    if (!failure.empty())
        Fail(grammarText, failure);
    return 0;
}
