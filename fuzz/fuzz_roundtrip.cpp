// Fuzz target: text that parses without error is written, parsed again and written again;
// the second parse must succeed and give the same text. Trees holding what the writer
// cannot express (a double quote in a string, an identifier that reads back as another
// kind of word) are left out.
#include <cstdlib>

#include "fuzz_support.h"

namespace {

bool ReadsBackAsIdentifier(const zelParserS* grammar, const char* text)
{
    if (!text || !((*text >= 'a' && *text <= 'z') || (*text >= 'A' && *text <= 'Z') || *text == '_'))
        return false;
    for (const char* p = text; *p; ++p)
        if (!((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') || *p == '_'))
            return false;
    return !zelfuzz::IsLiteral(grammar, text);
}

bool Expressible(const zelParserS* grammar, const CZelParser& parser)
{
    for (const CZelOid* node : zelfuzz::AllNodes(parser)) {
        const int type = node->GetObjType();
        if (type == zelKW_STRTOK && std::string(node->GetStrval()).find('"') != std::string::npos)
            return false;
        if (type == zelKW_IDENT && !ReadsBackAsIdentifier(grammar, node->GetIdent()))
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t mode = data[0];
    const auto& grammars = zelfuzz::Grammars();
    zelParserS* grammar = grammars[mode % grammars.size()];
    const int extended = (mode >> 2) & 1;
    const int engine = (mode >> 3) & 1;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    CZelParser first(grammar, 16, 1 << 16, 0, extended);
    if (first.Parse(zelfuzz::ScratchFile(text).c_str(), "r", -1L, engine) != 0 || !Expressible(grammar, first))
        return 0;
    const std::string written = zelfuzz::Written(first);

    CZelParser second(grammar, 16, 1 << 16, 0, extended);
    if (second.Parse(zelfuzz::ScratchFile(written, 1).c_str(), "r", -1L, engine) != 0 ||
        zelfuzz::Written(second) != written)
        std::abort();
    return 0;
}
