// The grammar compiler: the tables it lays out, the example grammars read end to end under
// both engines, its error messages, and the tables that "zel gen" writes as C++.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "support/test_grammars.h"

using namespace zeltest;

extern zelParserS netlist_grammar;  // written by "zel gen" at build time

namespace {

const std::string kExamples = ZEL_EXAMPLES_DIR;
using Lines = std::vector<std::string>;

Lines Errors(const CZelGrammar& g)
{
    Lines out;
    for (POSITION pos = g.GetErrors().GetHeadPosition(); pos;)
        out.push_back(static_cast<const char*>(g.GetErrors().GetNext(pos)));
    return out;
}

struct Parsed {
    int errors;
    Lines reports;
    std::string shapes;
    std::string text;  // every goal as the writer writes it
};

Parsed ParseWith(zelParserS* grammar, const std::string& file, int engine)
{
    RecordingParser p(grammar, 16);
    Parsed r{p.Parse(file.c_str(), "r", -1L, engine), p.reports, Shapes(p), ""};
    const std::string out = TempFile("");
    FILE* stream = std::fopen(out.c_str(), "w");
    for (int i = 0; i < p.GetGoalCount(); ++i)
        p.WriteFile(stream, p.GetGoalAt(i), 0, 1);
    std::fclose(stream);
    r.text = ReadFile(out);
    std::remove(out.c_str());
    return r;
}

struct Example {
    const char* grammar;
    const char* sample;
};
const Example kExamplesGood[] = {{"netlist/netlist.zelg", "netlist/good.net"}, {"drawing/drawing.zelg", "drawing/good.draw"}};

}  // namespace

// Both example grammars: the table layout that the parser relies on, then their good
// samples read without error under both engines and written back unchanged.
TEST(Grammar_Compiler, ExampleGrammarsFollowTheConventionsAndRoundTrip)
{
    for (const Example& ex : kExamplesGood) {
        SCOPED_TRACE(ex.grammar);
        CZelGrammar g;
        ASSERT_EQ(0, g.CompileFile((kExamples + "/" + ex.grammar).c_str())) << ::testing::PrintToString(Errors(g));
        const zelParserS* d = g.GetDescriptor();
        EXPECT_STREQ(")", d->kwTable[1].name);
        EXPECT_EQ((std::vector<int>{zelKW_EOFORM, zelKW_IDENT, zelKW_INTTOK, zelKW_REALTOK, zelKW_STRTOK, 1}),
                  (std::vector<int>{d->kwTable[1].type, d->kwTable[2].type, d->kwTable[3].type, d->kwTable[4].type,
                                    d->kwTable[5].type, d->kwTable[7].semanticId}));
        // Goal alternatives from row 1, each but the last linked to the next row.
        for (int row = 1; d->semTable[row].alt != 0; ++row)
            EXPECT_EQ(row + 1, d->semTable[row].alt);
        // Each form's rule runs along consecutive rows to a row of keyword 1.
        for (int k = 8; k < d->kwCount; ++k) {
            int r = d->kwTable[k].type == zelKW_FORM ? d->kwTable[k].semanticId : 0;
            for (; r > 0 && d->semTable[r].keywordId != 1; ++r)
                ASSERT_EQ(r + 1, d->semTable[r].next) << d->kwTable[k].name << " row " << r;
            if (r > 0) {
                EXPECT_EQ((std::vector<int>{S_REQ, 0}), (std::vector<int>{d->semTable[r].semType, d->semTable[r].next}));
            }
        }
        std::string recursive;
        for (int engine = 0; engine < 2; ++engine) {
            SCOPED_TRACE("engine " + std::to_string(engine));
            const Parsed first = ParseWith(g.GetDescriptor(), kExamples + "/" + ex.sample, engine);
            EXPECT_EQ(0, first.errors);
            EXPECT_EQ(Lines{}, first.reports);
            EXPECT_EQ(engine ? recursive : recursive = first.shapes, first.shapes);
            const std::string copy = TempFile(first.text);
            const Parsed again = ParseWith(g.GetDescriptor(), copy, engine);
            std::remove(copy.c_str());
            EXPECT_EQ(0, again.errors);
            EXPECT_EQ(first.shapes, again.shapes);
            EXPECT_EQ(first.text, again.text);
        }
    }
}

// Choices, a form written as alternatives, literals declared, quoted and in capitals.
TEST(Grammar_Compiler, DrawingGrammarBuildsTheExpectedTrees)
{
    CZelGrammar g;
    ASSERT_EQ(0, g.CompileFile((kExamples + "/drawing/drawing.zelg").c_str()));
    const struct {
        const char* input;
        const char* shapes;
        Lines reports;
    } cases[] = {
        {"(drawing d (page 1 2 inch) (layer l Red (rect 0 0 1 2 (style NONE)) (group (line (pt 0 0) (pt 1 1) DASHED "
         "(style light-GREY 2)))))",
         "(drawing d (page 1.000000 2.000000 INCH) (layer l RED (rect 0.000000 0.000000 1.000000 2.000000 (style NONE)) "
         "(group (line (pt 0.000000 0.000000) (pt 1.000000 1.000000) dashed (style light-grey 2.000000)))))", {}},
        {"(drawing d (layer l (text \"a\" 1 2 (style))))", "(drawing d (layer l (text \"a\" 1.000000 2.000000 (style))))",
         {"3@1:Expecting: FORM (colour thickness | NONE) (Token=\")\").", "3@1:Unexpected end of form \")\".\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const std::string file = TempFile(c.input);
        const Parsed r = ParseWith(g.GetDescriptor(), file, 0);
        std::remove(file.c_str());
        EXPECT_EQ(c.shapes, r.shapes);
        EXPECT_EQ(c.reports, r.reports);
    }
}

TEST(Grammar_Compiler, BadSampleGivesTheExpectedDiagnostics)
{
    CZelGrammar g;
    ASSERT_EQ(0, g.CompileFile((kExamples + "/netlist/netlist.zelg").c_str()));
    const std::string bad = kExamples + "/netlist/bad.net";
    const Lines recursive = {"3@3:Expecting: FORM int (Token=\")\").", "3@3:Unexpected end of form \")\".\n",
                             "3@6:Expecting: FORM direction (Token=\")\").", "3@6:Unexpected end of form \")\".\n",
                             "3@10:Expecting end of form \")\" (Token=\"mux2\").\n", "1@10:Skipping rest of form: cell.\n",
                             "3@10:Unexpected end of form \")\".\n"};
    const Parsed r0 = ParseWith(g.GetDescriptor(), bad, 0), r1 = ParseWith(g.GetDescriptor(), bad, 1);
    EXPECT_EQ(recursive, r0.reports);
    EXPECT_EQ(7, r0.errors);
    // The iterative engine stops at the first missing element.
    EXPECT_EQ(Lines{recursive[0]}, r1.reports);
    EXPECT_EQ(1, r1.errors);
}

TEST(Grammar_Compiler, ErrorsNameTheirLines)
{
    const struct {
        const char* grammar;
        Lines errors;
    } cases[] = {
        {"goal a\nform a = ident wire ;", {"line 2: unknown keyword \"wire\""}},
        {"goal a\nform a = ;\nchoice A = B ;\nvalue int = real ;",
         {"line 3: duplicate keyword \"A\"", "line 4: duplicate keyword \"int\""}},
        {"goal a\nform a ;", {"line 2: form \"a\" has no rule"}},
        {"goal a\nform a = ident | | int ;", {"line 2: empty alternative"}},
        {"goal a\nform a = ident\n  | ;", {"line 3: empty alternative"}},
        {"goal a\nform a = (int | ident) () ;", {"line 2: empty alternative"}},
        {"goal d\nform a = ;\nchoice d = A ;", {"line 1: goal \"d\" is not a form"}},
        {"goal nosuch\nform a = ;", {"line 1: unknown keyword \"nosuch\""}},
        {"form a = ;", {"line 1: the grammar names no goal form"}},
        {"goal a\nform a = ident", {"line 2: expected \";\" but found the end of the grammar"}},
        {"goal a\nform = ident ;\nform a = ;", {"line 2: expected a name after \"form\" but found \"=\""}},
        {"goal a\nrule a = b ;\nform a = (ident ;", {"line 2: unknown statement \"rule\"", "line 3: expected \")\" but found \";\""}},
        {"goal a\nform a = ;\nvalue v = ;", {"line 3: expected ident, int, real or string but found \";\""}},
        {"goal a\nform a = ;\nvalue v = a ;", {"line 3: value \"v\" must be ident, int, real or string"}},
        {"goal a\nform a = ident?? ;", {"line 2: expected \";\" but found \"?\""}},
        {"goal a\nform a = \"oops ;\nform b = ;", {"line 2: unterminated quoted name"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.grammar);
        CZelGrammar g;
        EXPECT_EQ(static_cast<int>(c.errors.size()), g.Compile(c.grammar));
        EXPECT_EQ(c.errors, Errors(g));
        EXPECT_EQ(nullptr, g.GetDescriptor());
    }
}

TEST(Grammar_Compiler, KeywordIdsByName)
{
    CZelGrammar g;
    EXPECT_EQ(-1, g.GetKeywordId("design"));  // nothing compiled yet
    ASSERT_EQ(0, g.CompileFile((kExamples + "/netlist/netlist.zelg").c_str()));
    const zelKeywordS* kw = g.GetDescriptor()->kwTable;
    EXPECT_EQ(10, g.GetKeywordId("CELL"));
    EXPECT_STREQ("direction", kw[g.GetKeywordId("direction")].name);
    EXPECT_EQ(zelKW_INTTOK, kw[g.GetKeywordId("width")].type);
    EXPECT_EQ(zelKW_LIT, kw[g.GetKeywordId("inout")].type);
    EXPECT_EQ(2, g.GetKeywordId("ident"));
    for (const char* none : {"port | net", "wire", static_cast<const char*>(nullptr)})
        EXPECT_EQ(-1, g.GetKeywordId(none));
    // A group of one element is a composite named like the element: the name still
    // stands for the element, and the C++ source has one enumerator per name.
    ASSERT_EQ(0, g.Compile("goal a\nform a = (X)? (b)* (c)? ;\nform b = ;\nchoice c = Y ;"));
    kw = g.GetDescriptor()->kwTable;
    EXPECT_EQ(zelKW_LIT, kw[g.GetKeywordId("x")].type);
    EXPECT_EQ(zelKW_FORM, kw[g.GetKeywordId("b")].type);
    EXPECT_EQ(10, g.GetKeywordId("c"));
    const std::string file = TempFile("");
    FILE* out = std::fopen(file.c_str(), "w");
    EXPECT_EQ(0, g.WriteSource(out, "p", "test"));
    std::fclose(out);
    const std::string source = ReadFile(file);
    std::remove(file.c_str());
    for (const char* name : {"p_KW_a =", "p_KW_b =", "p_KW_c =", "p_KW_X =", "p_KW_Y ="}) {
        const size_t at = source.find(name);
        EXPECT_NE(std::string::npos, at) << name;
        EXPECT_EQ(std::string::npos, source.find(name, at + 1)) << name;
    }
    EXPECT_EQ(1, g.WriteSource(nullptr, "p", "test"));
}

TEST(Grammar_Compiler, CompilingAgainReplacesTheTables)
{
    CZelGrammar g;
    ASSERT_EQ(0, g.CompileFile((kExamples + "/netlist/netlist.zelg").c_str()));
    ASSERT_EQ(0, g.CompileFile((kExamples + "/drawing/drawing.zelg").c_str()));
    EXPECT_EQ(-1, g.GetKeywordId("cell"));
    EXPECT_EQ(8, g.GetKeywordId("drawing"));
    EXPECT_STREQ("drawing", g.GetDescriptor()->kwTable[8].name);
    // A failed compile leaves no tables and only its own errors.
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(1, g.Compile("form a = ;"));
        EXPECT_EQ(1u, Errors(g).size());
        EXPECT_EQ(nullptr, g.GetDescriptor());
        EXPECT_EQ(-1, g.GetKeywordId("a"));
    }
    // A parser built on a grammar with errors fails cleanly.
    for (int engine = 0; engine < 2; ++engine) {
        RecordingParser p(g.GetDescriptor());
        EXPECT_EQ(1, p.Parse((kExamples + "/netlist/good.net").c_str(), "r", -1L, engine));
        EXPECT_EQ(0, p.GetGoalCount());
    }
    EXPECT_EQ(1, g.CompileFile((kExamples + "/no such file.zelg").c_str()));
    EXPECT_EQ(1, g.CompileFile(kExamples.c_str()));  // a directory
    EXPECT_EQ(Lines{"cannot read grammar file \"" + kExamples + "\""}, Errors(g));
}

// The tables written as C++ are the run-time tables, and read every sample alike.
TEST(Grammar_Compiler, GeneratedTablesMatchTheRuntimeTables)
{
    CZelGrammar g;
    ASSERT_EQ(0, g.CompileFile((kExamples + "/netlist/netlist.zelg").c_str()));
    const zelParserS* d = g.GetDescriptor();
    ASSERT_EQ(d->kwCount, netlist_grammar.kwCount);
    ASSERT_EQ(d->semCount, netlist_grammar.semCount);
    for (int k = 0; k < d->kwCount; ++k)
        EXPECT_EQ(0, std::memcmp(&d->kwTable[k], &netlist_grammar.kwTable[k], sizeof(zelKeywordS))) << "keyword " << k;
    auto fields = [](const zelSemanticS& r) { return std::vector<int>{r.keywordId, r.semType, r.attributes, r.alt, r.next}; };
    for (int i = 0; i < d->semCount; ++i)
        EXPECT_EQ(fields(d->semTable[i]), fields(netlist_grammar.semTable[i])) << "row " << i;
    for (const char* sample : {"good.net", "bad.net"})
        for (int engine = 0; engine < 2; ++engine) {
            SCOPED_TRACE(std::string(sample) + " engine " + std::to_string(engine));
            const Parsed runtime = ParseWith(g.GetDescriptor(), kExamples + "/netlist/" + sample, engine);
            const Parsed compiled = ParseWith(&netlist_grammar, kExamples + "/netlist/" + sample, engine);
            EXPECT_EQ(runtime.errors, compiled.errors);
            EXPECT_EQ(runtime.reports, compiled.reports);
            EXPECT_EQ(runtime.shapes, compiled.shapes);
            EXPECT_EQ(runtime.text, compiled.text);
        }
}
