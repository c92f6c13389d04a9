// Fuzz target: the file parse and the line-list parse of any text, under both lexical
// rule sets, with both engines and every grammar; the tree is then written and destroyed.
#include "fuzz_support.h"
#include "support/test_grammars.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t mode = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto& grammars = zelfuzz::Grammars();
    CZelParser parser(grammars[mode % grammars.size()], 16, 4096, (mode & 0x20) ? '\\' : 0, (mode >> 2) & 1);
    if (mode & 0x10) {
        CStringList lines;
        size_t start = 0;
        for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.AddTail(text.substr(start, end - start).c_str());
        lines.AddTail(text.substr(start).c_str());
        parser.Parse(&lines);
    } else {
        parser.Parse(zelfuzz::ScratchFile(text).c_str(), "r", -1L, (mode >> 3) & 1);
    }
    zeltest::WrittenList(parser);
    return 0;
}
