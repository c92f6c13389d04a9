// The grammar compiler: the tables it lays out, the example grammars read end to end under
// both engines, its error messages, and the tables that "zel gen" writes as C++.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "support/test_grammars.h"

using namespace zeltest;

extern zelParserS netlist_grammar;  // written by "zel gen" at build time

static const std::string kExamples = ZEL_EXAMPLES_DIR "/";
using Lines = std::vector<std::string>;

static Lines Errors(const CZelGrammar& g)
{
    Lines out;
    for (POSITION pos = g.GetErrors().GetHeadPosition(); pos;)
        out.push_back(static_cast<const char*>(g.GetErrors().GetNext(pos)));
    return out;
}

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

// Both example grammars follow the table conventions that the parser relies on; their good
// samples read without error, alike under both engines, and what is written reads back alike.
TEST(Grammar_Compiler, ExampleGrammarsFollowTheConventionsAndRoundTrip)
{
    for (const auto& [grammar, sample] : {std::pair<const char*, const char*>{"netlist/netlist.zelg", "netlist/good.net"},
                                         {"drawing/drawing.zelg", "drawing/good.draw"}}) {
        SCOPED_TRACE(grammar);
        CZelGrammar g;
        ASSERT_EQ(0, g.CompileFile((kExamples + grammar).c_str())) << testing::PrintToString(Errors(g));
        zelParserS* d = g.GetDescriptor();
        const zelKeywordS* kw = d->kwTable;
        const zelSemanticS* row = d->semTable;
        EXPECT_EQ((std::vector<int>{zelKW_EOFORM, zelKW_IDENT, zelKW_INTTOK, zelKW_REALTOK, zelKW_STRTOK, 1}),
                  (std::vector<int>{kw[1].type, kw[2].type, kw[3].type, kw[4].type, kw[5].type, kw[7].semanticId}));
        for (int r = 1; row[r].alt != 0; ++r)  // the goal's alternatives: consecutive rows from 1
            EXPECT_EQ(r + 1, row[r].alt);
        // Each form's rule runs along consecutive rows to a ")" row flagged exactly S_REQ.
        for (int k = 8; k < d->kwCount; ++k) {
            int r = kw[k].type == zelKW_FORM ? kw[k].semanticId : 0;
            for (; r > 0 && row[r].keywordId != 1; ++r)
                ASSERT_EQ(r + 1, row[r].next) << kw[k].name << " row " << r;
            EXPECT_TRUE(r == 0 || (row[r].semType == S_REQ && row[r].next == 0)) << kw[k].name;
        }
        const std::string copy = TempFile("");
        const Parsed first = ParseWith(d, kExamples + sample, 0, copy);
        ASSERT_EQ((Parsed{0, {}, std::get<2>(first)}), first);
        ASSERT_NE("", std::get<2>(first));
        EXPECT_EQ(first, ParseWith(d, kExamples + sample, 1));
        for (int engine = 0; engine < 2; ++engine)
            EXPECT_EQ(first, ParseWith(d, copy, engine)) << "engine " << engine;
        std::remove(copy.c_str());
    }
}

// Choices, a form written as alternatives, literals declared, quoted and in capitals.
TEST(Grammar_Compiler, DrawingGrammarBuildsTheExpectedTrees)
{
    CZelGrammar g;
    ASSERT_EQ(0, g.CompileFile((kExamples + "drawing/drawing.zelg").c_str()));
    const struct { const char* input; Parsed expected; } cases[] = {
        {"(drawing d (page 1 2 inch) (layer l Red (rect 0 0 1 2 (style NONE)) (group (line (pt 0 0) (pt 1 1) DASHED "
         "(style light-GREY 2)))))",
         {0, {}, "(drawing d (page 1.000000 2.000000 INCH) (layer l RED (rect 0.000000 0.000000 1.000000 2.000000 (style NONE)) "
                 "(group (line (pt 0.000000 0.000000) (pt 1.000000 1.000000) dashed (style light-grey 2.000000)))))"}},
        {"(drawing d (layer l (text \"a\" 1 2 (style))))",
         {2, {"3@1:Expecting: FORM (colour thickness | NONE) (Token=\")\").", "3@1:Unexpected end of form \")\".\n"},
          "(drawing d (layer l (text \"a\" 1.000000 2.000000 (style))))"}},
    };
    for (const auto& c : cases) {
        const std::string file = TempFile(c.input);
        EXPECT_EQ(c.expected, ParseWith(g.GetDescriptor(), file, 0)) << c.input;
        std::remove(file.c_str());
    }
}

TEST(Grammar_Compiler, ErrorsNameTheirLines)
{
    const struct { const char* grammar; Lines errors; } cases[] = {
        {"goal a\nform a = ident wire ;", {"line 2: unknown keyword \"wire\""}},
        {"goal a\nform a = ;\nchoice A = B ;\nvalue int = real ;",
         {"line 3: duplicate keyword \"A\"", "line 4: duplicate keyword \"int\""}},
        {"goal a\nform a ;", {"line 2: form \"a\" has no rule"}},
        {"goal a\nform a = ident\n  | ;", {"line 3: empty alternative"}},
        {"goal a\nform a = (int | ident) () ;", {"line 2: empty alternative"}},
        {"goal d\nform a = ;\nchoice d = A ;", {"line 1: goal \"d\" is not a form"}},
        {"form a = ;", {"line 1: the grammar names no goal form"}},
        {"goal a\nform a = ident", {"line 2: expected \";\" but found the end of the grammar"}},
        {"goal a\nrule a = b ;\nform a = (ident ;",
         {"line 2: unknown statement \"rule\"", "line 3: expected \")\" but found \";\""}},
        {"goal a\nform a = ;\nvalue v = a ;", {"line 3: value \"v\" must be ident, int, real or string"}},
        {"goal a\nform a = \"oops ;\nform b = ;", {"line 2: unterminated quoted name"}},
    };
    for (const auto& c : cases) {
        CZelGrammar g;
        EXPECT_EQ(static_cast<int>(c.errors.size()), g.Compile(c.grammar)) << c.grammar;
        EXPECT_EQ(c.errors, Errors(g)) << c.grammar;
        EXPECT_EQ(nullptr, g.GetDescriptor()) << c.grammar;
    }
}

// Keyword ids by name follow the last compile: a failed compile leaves no tables, and only its
// own errors.
TEST(Grammar_Compiler, KeywordIdsFollowTheLastCompile)
{
    CZelGrammar g;
    EXPECT_EQ(-1, g.GetKeywordId("design"));  // nothing compiled yet
    ASSERT_EQ(0, g.CompileFile((kExamples + "netlist/netlist.zelg").c_str()));
    EXPECT_EQ(10, g.GetKeywordId("CELL"));  // in any letter case
    EXPECT_EQ(zelKW_LIT, g.GetDescriptor()->kwTable[g.GetKeywordId("inout")].type);
    for (const char* none : {"port | net", "wire", static_cast<const char*>(nullptr)})
        EXPECT_EQ(-1, g.GetKeywordId(none));
    // A group of one element is a composite named like the element: the name still
    // stands for the element, and the C++ source has one enumerator per name.
    ASSERT_EQ(0, g.Compile("goal a\nform a = (X)? (b)* (c)? ;\nform b = ;\nchoice c = Y ;"));
    EXPECT_EQ(-1, g.GetKeywordId("cell"));
    EXPECT_EQ(zelKW_LIT, g.GetDescriptor()->kwTable[g.GetKeywordId("x")].type);
    EXPECT_EQ(zelKW_FORM, g.GetDescriptor()->kwTable[g.GetKeywordId("b")].type);
    EXPECT_EQ(10, g.GetKeywordId("c"));
    testing::internal::CaptureStdout();
    EXPECT_EQ(0, g.WriteSource(stdout, "p", "test"));
    const std::string source = testing::internal::GetCapturedStdout();
    for (const char* name : {"p_KW_a =", "p_KW_b =", "p_KW_c =", "p_KW_X =", "p_KW_Y ="})
        EXPECT_TRUE(source.find(name) != std::string::npos && source.find(name) == source.rfind(name)) << name;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(1, g.Compile("form a = ;"));
        EXPECT_EQ(Lines{"line 1: the grammar names no goal form"}, Errors(g));
        EXPECT_TRUE(g.GetDescriptor() == nullptr && g.GetKeywordId("a") == -1);
    }
    EXPECT_EQ(1, g.CompileFile((kExamples + "no such file.zelg").c_str()));
    EXPECT_EQ(1, g.CompileFile(ZEL_EXAMPLES_DIR));  // a directory
    EXPECT_EQ(Lines{"cannot read grammar file \"" ZEL_EXAMPLES_DIR "\""}, Errors(g));
}

// The tables written as C++ are the run-time tables, field by field.
TEST(Grammar_Compiler, GeneratedTablesMatchTheRuntimeTables)
{
    CZelGrammar g;
    ASSERT_EQ(0, g.CompileFile((kExamples + "netlist/netlist.zelg").c_str()));
    const zelParserS* d = g.GetDescriptor();
    ASSERT_EQ((std::vector<int>{d->kwCount, d->semCount}), (std::vector<int>{netlist_grammar.kwCount, netlist_grammar.semCount}));
    for (int k = 0; k < d->kwCount; ++k)
        EXPECT_EQ(0, std::memcmp(&d->kwTable[k], &netlist_grammar.kwTable[k], sizeof(zelKeywordS))) << "keyword " << k;
    auto fields = [](const zelSemanticS& r) { return std::vector<int>{r.keywordId, r.semType, r.attributes, r.alt, r.next}; };
    for (int i = 0; i < d->semCount; ++i)
        EXPECT_EQ(fields(d->semTable[i]), fields(netlist_grammar.semTable[i])) << "row " << i;
}
