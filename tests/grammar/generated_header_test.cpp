// The header "zel gen --header" writes and the source written for it, compiled in apart
// from this file: the enumeration and the declarations reach the tables of the source.
#include <gtest/gtest.h>

#include <string>

#include "footprint_split.h"
#include "netlist_split.h"
#include "support/test_grammars.h"

namespace {

const std::string kExamples = ZEL_EXAMPLES_DIR "/";

// Each grammar's tables, through the header: the same ids and sizes as the grammar compiled
// from its file, and a parser on them reads the good sample.
TEST(Grammar_GeneratedHeader, DeclaresTheTablesOfItsSource)
{
    const struct { const char *grammar, *sample, *keyword; int id; zelParserS* tables; } cases[] = {
        {"netlist/netlist.zelg", "netlist/good.net", "cell", netlist_split_KW_cell, &netlist_split_grammar},
        {"footprint/footprint.zelg", "footprint/good.fp", "pad", footprint_split_KW_pad, &footprint_split_grammar},
    };
    for (const auto& c : cases) {
        CZelGrammar g;
        ASSERT_EQ(0, g.CompileFile((kExamples + c.grammar).c_str())) << c.grammar;
        EXPECT_EQ(g.GetKeywordId(c.keyword), c.id) << c.grammar;
        EXPECT_EQ(g.GetDescriptor()->kwCount, c.tables->kwCount) << c.grammar;
        EXPECT_EQ(g.GetDescriptor()->semCount, c.tables->semCount) << c.grammar;
        CZelParser parser(c.tables, 4, 65535, g.GetEscapeChar(), g.GetExtendedSyntax(), g.GetLexicalOptions());
        EXPECT_EQ(0, parser.Parse((kExamples + c.sample).c_str(), 0)) << c.sample;
    }
    CZelGrammar footprint;
    ASSERT_EQ(0, footprint.CompileFile((kExamples + "footprint/footprint.zelg").c_str()));
    EXPECT_EQ(footprint.GetEscapeChar(), footprint_split_escape);
    EXPECT_EQ(footprint.GetExtendedSyntax(), footprint_split_extended);
    EXPECT_EQ(footprint.GetLexicalOptions(), footprint_split_lexical_options);
    EXPECT_EQ(1, footprint.WriteSource(stdout, "p", "test", "a\"b.h"));  // no #include line can hold it
}

}  // namespace
