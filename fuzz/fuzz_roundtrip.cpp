// Fuzz target: text that parses without error is written, parsed again and written again;
// the second parse must succeed and give the same text. Trees holding a value that no
// spelling carries under the parser's settings (an identifier such as a lone apostrophe
// under the extended rules) are left out.
#include <cstdlib>
#include <cstring>

#include "core/name_index.h"
#include "fuzz_support.h"
#include "lex/spelling.h"

namespace {

bool Expressible(const zelParserS* grammar, const CZelParser& parser, int extended)
{
    zel::NameIndex names;
    names.Build(grammar->kwTable, grammar->kwCount);
    const zel::LexicalSettings settings{extended != 0, 0, &names};
    for (const CZelOid* node : zelfuzz::AllNodes(parser)) {
        const int type = node->GetObjType();
        const char* text = type == zelKW_STRTOK ? node->GetStrval() : type == zelKW_IDENT ? node->GetIdent() : nullptr;
        if (type == zelKW_STRTOK && !zel::CanWriteString(text, std::strlen(text), settings))
            return false;
        if (type == zelKW_IDENT && zel::SpellIdentifier(text, std::strlen(text), settings) == zel::kSpellNone)
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
    if (first.Parse(zelfuzz::ScratchFile(text).c_str(), "r", -1L, engine) != 0 || !Expressible(grammar, first, extended))
        return 0;
    const std::string written = zelfuzz::Written(first);

    CZelParser second(grammar, 16, 1 << 16, 0, extended);
    if (second.Parse(zelfuzz::ScratchFile(written, 1).c_str(), "r", -1L, engine) != 0 ||
        zelfuzz::Written(second) != written)
        std::abort();
    return 0;
}
