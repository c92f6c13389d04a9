// Fuzz target: editing a parsed tree. The input drives a run of operations, each on a
// node picked from the tree as it stands: editing from text (AddObject, InsObject,
// ReplaceObject), construction by keyword (App..., Ins...), value replacement, removal
// and deletion. After every operation the tree must hold no free node and write whole.
#include <cstdio>
#include <cstdlib>

#include "fuzz_support.h"
#include "support/test_grammars.h"

namespace {

bool IsGoal(const CZelParser& parser, const CZelOid* node)
{
    for (int i = 0; i < parser.GetGoalCount(); ++i)
        if (parser.GetGoalAt(i) == node)
            return true;
    return false;
}

void CheckTree(CZelParser& parser)
{
    // A released root stays in the goal table; no free node may stand on a chain.
    for (const CZelOid* node : zelfuzz::AllNodes(parser))
        if (node->GetKeywordId() == 0 && !IsGoal(parser, node))
            std::abort();
    zeltest::WrittenList(parser);
}

void Apply(CZelParser& parser, const CZelOid* node, zelfuzz::ByteReader& in, int keywordCount)
{
    const uint8_t op = in.Byte();
    const int keyword = in.Byte() % keywordCount;
    if (std::getenv("ZEL_FUZZ_TRACE"))
        std::fprintf(stderr, "op %d on %s kw %d\n", op % 16, node->GetKeyword(), keyword);
    CStringList lines;
    switch (op % 16) {
    case 0: parser.AddObject(node, in.Text().c_str()); break;
    case 1: lines.AddTail(in.Text().c_str()); parser.InsObject(node, &lines); break;
    case 2: lines.AddTail(in.Text().c_str()); parser.ReplaceObject(node, &lines); break;
    case 3: parser.RemObject(node); break;
    case 4: node->RemObject(); break;
    case 5: node->RemoveObjects(); break;
    case 6: parser.DeleteObject(node, op & 0x10); break;
    case 7: node->AppForm(keyword); node->AppLiteral(keyword); break;
    case 8: node->AppIdent(in.Text().c_str()); node->AppStrtok(in.Text().c_str()); break;
    case 9: node->AppInttok(keyword - 100); node->AppRealtok(in.Text().c_str()); break;
    case 10: node->InsForm(keyword); node->InsLiteral(keyword); break;
    case 11: node->InsIdent(in.Text().c_str()); node->InsStrtok(in.Text().c_str()); break;
    case 12: node->InsInttok(keyword * 1000); node->InsRealtok(keyword / 7.0); break;
    case 13: node->ReplaceData(keyword); node->ReplaceData(keyword / 3.0); node->ReplaceData(in.Text().c_str()); break;
    case 14: parser.ReplaceData(node, in.Text().c_str()); break;
    default: {
        CStringList names;
        names.AddTail(in.Text().c_str());
        names.AddTail(in.Text().c_str());
        node->InsIdent(names);
        node->AppStrtok(names);
        break;
    }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string sample = [] {
        std::string text;
        FILE* file = std::fopen(ZEL_EXAMPLES_DIR "/netlist/good.net", "rb");
        char block[4096];
        for (size_t n; file && (n = std::fread(block, 1, sizeof block, file)) > 0;)
            text.append(block, n);
        if (file)
            std::fclose(file);
        return text;
    }();
    zelParserS* grammar = zelfuzz::Grammars()[0];
    CZelParser parser(grammar, 16, 4096);
    parser.Parse(zelfuzz::ScratchFile(sample).c_str(), "r", -1L, 0);
    parser.SetSymbolHashing(data && size && (data[0] & 1));
    zelfuzz::ByteReader in(data, size);
    for (int steps = 0; !in.Done() && steps < 64; ++steps) {
        const std::vector<const CZelOid*> nodes = zelfuzz::AllNodes(parser);
        if (nodes.empty())
            break;
        Apply(parser, nodes[in.Byte() % nodes.size()], in, grammar->kwCount);
        CheckTree(parser);
    }
    return 0;
}
