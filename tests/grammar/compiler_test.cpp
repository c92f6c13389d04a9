// The grammar compiler: its tables, the example grammars end to end, errors, generated C++.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "core/conventions.h"
#include "core/grammar_tables.h"
#include "support/test_grammars.h"

using namespace zeltest;

extern zelParserS netlist_grammar;  // written by "zel gen" at build time

static const std::string kExamples = ZEL_EXAMPLES_DIR "/";
using Lines = std::vector<std::string>;

static Lines Errors(const CZelGrammar& g) { return Strings(g.GetErrors()); }

// A parse of one file: its result, its reports and its trees.
using Parsed = std::tuple<int, Lines, std::string>;

static Parsed ParseWith(zelParserS* grammar, const std::string& file, int engine, const std::string& dump = "")
{
    RecordingParser p(grammar, 16);
    const int errors = p.Parse(file.c_str(), "r", -1L, engine);
    if (!dump.empty())
        p.DumpFile(dump.c_str(), 0, nullptr);
    return {errors, p.reports, Shapes(p)};
}

// Both example grammars follow the table conventions that the parser relies on and pass its
// check of the tables, also without a row count; their good
// samples read alike under both engines, and what is written reads back alike. Choices, a form
// written as alternatives, literals declared, quoted and in capitals build the expected trees.
TEST(Grammar_Compiler, ExampleGrammarsFollowTheConventionsAndRoundTrip)
{
    CZelGrammar grammars[2];
    const char* const files[][2] = {{"netlist/netlist.zelg", "netlist/good.net"}, {"drawing/drawing.zelg", "drawing/good.draw"}};
    for (int i = 0; i < 2; ++i) {
        CZelGrammar& g = grammars[i];
        ASSERT_EQ(0, g.CompileFile((kExamples + files[i][0]).c_str())) << files[i][0] << testing::PrintToString(Errors(g));
        const zelKeywordS* kw = g.GetDescriptor()->kwTable;
        const zelSemanticS* row = g.GetDescriptor()->semTable;
        EXPECT_EQ((std::vector<int>{zelKW_EOFORM, zelKW_IDENT, zelKW_INTTOK, zelKW_REALTOK, zelKW_STRTOK, 1}),
                  (std::vector<int>{kw[1].type, kw[2].type, kw[3].type, kw[4].type, kw[5].type, kw[7].semanticId}));
        // Each form's rule runs along consecutive rows to a ")" row flagged exactly S_REQ.
        for (int k = zel::kFixedKeywords; k < g.GetDescriptor()->kwCount; ++k) {
            int r = kw[k].type == zelKW_FORM ? kw[k].semanticId : 0;
            for (; r > 0 && row[r].keywordId != zel::kEndOfFormRow; ++r)
                ASSERT_EQ(r + 1, row[r].next) << kw[k].name << " row " << r;
            EXPECT_TRUE(r == 0 || (row[r].semType == S_REQ && row[r].next == 0)) << kw[k].name;
        }
        zelParserS uncounted = *g.GetDescriptor();  // the table check needs no row count
        uncounted.semCount = 0;
        EXPECT_TRUE(zel::GrammarTables(&uncounted).Has()) << files[i][0];
        const std::string sample = kExamples + files[i][1], copy = TempFile("");
        const Parsed first = ParseWith(g.GetDescriptor(), sample, 0, copy);
        ASSERT_TRUE(std::get<0>(first) == 0 && std::get<1>(first).empty() && std::get<2>(first) != "") << sample;
        for (const auto& [file, engine] : {std::pair<std::string, int>{sample, 1}, {copy, 0}, {copy, 1}})
            EXPECT_EQ(first, ParseWith(g.GetDescriptor(), file, engine)) << file << " engine " << engine;
    }
    const struct { const char* input; Parsed expected; } cases[] = {
        {"(drawing d (layer l Red (rect 0 0 1 2 (style NONE)) (line (pt 0 0) (pt 1 1) DASHED (style light-GREY 2))))",
         {0, {}, "(drawing d (layer l RED (rect 0.000000 0.000000 1.000000 2.000000 (style NONE)) "
                 "(line (pt 0.000000 0.000000) (pt 1.000000 1.000000) dashed (style light-grey 2.000000))))"}},
        {"(drawing d (layer l (text \"a\" 1 2 (style))))", {2, {"3@1:Expecting: FORM (colour thickness | NONE) (Token=\")\").",
         "3@1:Unexpected end of form \")\".\n"}, "(drawing d (layer l (text \"a\" 1.000000 2.000000 (style))))"}},
    };
    for (const auto& c : cases) {
        const std::string file = TempFile(c.input);
        EXPECT_EQ(c.expected, ParseWith(grammars[1].GetDescriptor(), file, 0)) << c.input;
    }
}

// Errors name their lines; a failed compile leaves no tables, even after a good one, and only its own errors.
TEST(Grammar_Compiler, ErrorsNameTheirLines)
{
    const struct { const char* grammar; Lines errors; } cases[] = {
        {"form a ;\nform b = ident wire ;",
         {"line 1: form \"a\" has no rule", "line 1: the grammar names no goal form", "line 2: unknown keyword \"wire\""}},
        {"goal a\nform a = ;\nchoice A = B ;\nvalue v = a ;", {"line 3: duplicate keyword \"A\"",
         "line 4: value \"v\" must be ident, int, real, string or word"}},
        {"goal a\nform a = ident", {"line 2: expected \";\" but found the end of the grammar"}},
        {"goal a\nrule x ;\nform a = (ident ;", {"line 2: unknown statement \"rule\"", "line 3: expected \")\" but found \";\""}},
        {"goal a\nform a = \"oops ;\nform b = ;", {"line 2: unterminated quoted name"}},
    };
    CZelGrammar g;
    for (const auto& c : cases) {
        ASSERT_EQ(0, g.Compile("goal a\nform a = ident ;"));
        EXPECT_EQ(static_cast<int>(c.errors.size()), g.Compile(c.grammar)) << c.grammar;
        EXPECT_TRUE(Errors(g) == c.errors && !g.GetDescriptor() && g.GetKeywordId("a") == -1)
            << c.grammar << testing::PrintToString(Errors(g));
    }
    EXPECT_EQ(1, g.CompileFile(ZEL_EXAMPLES_DIR));  // a directory
    EXPECT_EQ(Lines{"cannot read grammar file \"" ZEL_EXAMPLES_DIR "\": Is a directory"}, Errors(g));
}

// Keyword ids follow the last compile; "zel gen" writes the run-time tables field by field. A group
// of one element is a composite named like the element, which the name still means: one enumerator.
TEST(Grammar_Compiler, KeywordIdsAndGeneratedSource)
{
    CZelGrammar g;
    EXPECT_EQ(-1, g.GetKeywordId("design"));  // nothing compiled yet
    ASSERT_EQ(0, g.CompileFile((kExamples + "netlist/netlist.zelg").c_str()));
    const zelParserS* d = g.GetDescriptor();
    auto type = [&g](const char* name) { return g.GetDescriptor()->kwTable[g.GetKeywordId(name)].type; };
    EXPECT_EQ((std::vector<int>{10, zelKW_LIT, -1, -1, -1}), (std::vector<int>{g.GetKeywordId("CELL"), type("inout"),
              g.GetKeywordId("port | net"), g.GetKeywordId("wire"), g.GetKeywordId(nullptr)}));  // in any letter case
    ASSERT_EQ((std::vector<int>{d->kwCount, d->semCount}), (std::vector<int>{netlist_grammar.kwCount, netlist_grammar.semCount}));
    for (int k = 0; k < d->kwCount; ++k)
        EXPECT_EQ(0, std::memcmp(&d->kwTable[k], &netlist_grammar.kwTable[k], sizeof(zelKeywordS))) << "keyword " << k;
    auto fields = [](const zelSemanticS& r) { return std::vector<int>{r.keywordId, r.semType, r.attributes, r.alt, r.next}; };
    for (int i = 0; i < d->semCount; ++i)
        EXPECT_EQ(fields(d->semTable[i]), fields(netlist_grammar.semTable[i])) << "row " << i;

    ASSERT_EQ(0, g.Compile("goal a\nform a = (X)? (b)* (c)? ;\nform b = ;\nchoice c = Y ;"));
    EXPECT_EQ((std::vector<int>{-1, zelKW_LIT, zelKW_FORM, 10}),
              (std::vector<int>{g.GetKeywordId("cell"), type("x"), type("b"), g.GetKeywordId("c")}));
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, g.WriteSource(stdout, "p", "test"));
    const std::string source = testing::internal::GetCapturedStdout();
    for (const char* name : {"p_KW_a =", "p_KW_b =", "p_KW_c =", "p_KW_X =", "p_KW_Y ="})
        EXPECT_TRUE(source.find(name) != std::string::npos && source.find(name) == source.rfind(name)) << name;
    // A write that fails is no success.
    if (FILE* full = std::fopen("/dev/full", "w")) {
        EXPECT_EQ(1, g.WriteSource(full, "p", "test"));
        std::clearerr(full);
        EXPECT_EQ(1, g.WriteHeader(full, "p", "test"));
        std::fclose(full);
    }
}
