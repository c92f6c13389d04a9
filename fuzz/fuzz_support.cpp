// Shared pieces of the fuzz targets.
#include "fuzz_support.h"

#include <cstdio>
#include <unistd.h>

#include "support/generate.h"
#include "support/test_grammars.h"

namespace zelfuzz {

const std::vector<zelParserS*>& Grammars()
{
    static CZelGrammar netlist;
    static CZelGrammar drawing;
    static zeltest::Grammar netlistTables = zeltest::NetlistGrammar();
    static zeltest::Grammar edgeTables = zeltest::EdgeGrammar();
    static std::vector<zelParserS*> grammars;
    if (grammars.empty()) {
        netlist.CompileFile(ZEL_EXAMPLES_DIR "/netlist/netlist.zelg");
        drawing.CompileFile(ZEL_EXAMPLES_DIR "/drawing/drawing.zelg");
        grammars = {netlist.GetDescriptor(), drawing.GetDescriptor(), netlistTables.get(), edgeTables.get()};
    }
    return grammars;
}

std::string ScratchFile(const std::string& text, int slot)
{
    const std::string name = "/tmp/zel-fuzz-" + std::to_string(getpid()) + "-" + std::to_string(slot);
    FILE* file = std::fopen(name.c_str(), "wb");
    if (file) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    }
    return name;
}


std::vector<const CZelOid*> AllNodes(const CZelParser& parser)
{
    return zeltest::Nodes(parser);
}

}  // namespace zelfuzz
