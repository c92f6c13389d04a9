// Fuzz target: hand-laid grammar tables with fields changed to any value. The parser must
// refuse malformed tables or work on them; a parse with either engine, goals, appends,
// inserts and editing from text run either way, and nothing may crash or hang.
#include "fuzz_support.h"
#include "support/test_grammars.h"

namespace {

// Changes one field of the tables, chosen by the input; indexes stay inside the vectors
// and the counts never claim more rows than there are.
void Mutate(zeltest::Grammar& g, zelParserS& d, zelfuzz::ByteReader& in)
{
    const uint8_t field = in.Byte();
    const size_t at = in.Byte();
    const int value = static_cast<int8_t>(in.Byte());
    zelSemanticS& row = g.rows[at % g.rows.size()];
    zelKeywordS& keyword = g.keywords[at % g.keywords.size()];
    switch (field % 10) {
    case 0: row.keywordId = value; break;
    case 1: row.semType = value & 0xff; break;
    case 2: row.alt = value; break;
    case 3: row.next = value; break;
    case 4: keyword.type = value; break;
    case 5: keyword.semanticId = value; break;
    case 6: keyword.accept = value & 1; break;
    case 7:
        for (char& c : keyword.name)
            c = static_cast<char>(value);
        if (value & 1)
            keyword.name[value & 0x7f] = '\0';
        break;
    case 8: d.kwCount = value < 0 ? value : value % static_cast<int>(g.keywords.size() + 1); break;
    default: d.semCount = value <= 0 ? value : value % static_cast<int>(g.rows.size() + 1); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelfuzz::ByteReader in(data, size);
    const uint8_t mode = in.Byte();
    zeltest::Grammar (*const makers[])() = {zeltest::NetlistGrammar, zeltest::EdgeGrammar, zeltest::EditGrammar};
    zeltest::Grammar g = makers[mode % 3]();
    zelParserS d = *g.get();
    for (int n = in.Byte() % 6; n > 0; --n)
        Mutate(g, d, in);
    // Without a row count only the rows that links reach are known to exist, so a link
    // beyond the vector cannot be told from a sound one: such a table keeps its links inside.
    if (d.semCount <= 0)
        for (zelSemanticS& row : g.rows)
            for (int* link : {&row.alt, &row.next})
                if (*link >= static_cast<int>(g.rows.size()))
                    *link = 0;
    if (d.semCount <= 0)
        for (zelKeywordS& keyword : g.keywords)
            if (keyword.semanticId >= static_cast<int>(g.rows.size()))
                keyword.semanticId = 0;

    CZelParser parser(&d, 16, 64, 0, (mode >> 2) & 1);
    parser.SetStackGrowth((mode >> 3) & 1);
    const std::string text = in.Text();
    parser.Parse(zelfuzz::ScratchFile(text).c_str(), "r", -1L, (mode >> 4) & 1);
    parser.AddGoal(in.Byte() % 20);
    for (const CZelOid* node : zelfuzz::AllNodes(parser)) {
        const int keyword = in.Byte() % 24 - 2;
        node->AppForm(keyword);
        node->InsLiteral(keyword);
        node->AppIdent("x");
        parser.AddObject(node, in.Text().c_str());
        if (in.Done())
            break;
    }
    zeltest::WrittenList(parser);
    return 0;
}
