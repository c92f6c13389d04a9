// Keywords read in another letter case than the grammar's: written as declared, or as read
// with zelLEX_KEEP_KEYWORD_CASE, by both writers, through edits, copies and removals.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/parser_access.h"
#include "support/test_grammars.h"

using namespace zeltest;

namespace {

const char kGrammar[] = "goal design\n"
                        "form design = ident cell* ;\n"
                        "form cell = ident SMD? side? ;\n"
                        "choice side = TOP | BOTTOM ;\n";

// An operation on the parsed tree; returns the node to write (null: the first goal). A copy
// it makes is kept in copy until the case ends.
using Operation = std::function<const CZelOid*(CZelParser&, const CZelOid* design, std::unique_ptr<CZelOid>& copy)>;

size_t SpellingCount(CZelParser& parser) { return zel::ParserAccess::Of(parser).store.Spellings().Count(); }

// The stream writer's text of node; the list writer's strings join into the same text.
std::string Written(CZelParser& parser, const CZelOid* node)
{
    CStringList list;
    parser.WriteList(node, 0, &list);
    std::string listed;
    for (const std::string& item : Strings(list))
        listed += item;
    EXPECT_EQ(StreamText(parser, node, 0, 0), listed);
    return listed;
}

}  // namespace

TEST(Output_KeywordCase, WrittenAsDeclaredOrAsRead)
{
    const Operation none = [](CZelParser&, const CZelOid*, std::unique_ptr<CZelOid>&) { return nullptr; };
    const struct {
        const char* name;
        const char* rules;
        const char* input;
        Operation operation;
        const char* declared;  // written without the option
        const char* asRead;    // written with it
        size_t spellings;      // kept with the option after the operation
    } cases[] = {
        {"form, literal, literal in a choice", "", "(Design d (CELL c smd Top) (cell e SMD TOP))", none,
         "\n(design  d\n (cell  c  SMD  TOP)\n (cell  e  SMD  TOP))",
         "\n(Design  d\n (CELL  c  smd  Top)\n (cell  e  SMD  TOP))", 4},
        {"extended rules: a literal-identifier", "rules extended ;", "(design Smd (cell smd smd bottom))", none,
         "\n(design  Smd\n (cell  smd  SMD  BOTTOM))", "\n(design  Smd\n (cell  smd  smd  bottom))", 2},
        {"a removed node leaves its spelling", "", "(design d (Cell c smd) (CELL e Top))",
         [](CZelParser&, const CZelOid* design, std::unique_ptr<CZelOid>&) {
             EXPECT_EQ(1, Child(design, 1)->RemObject());
             return nullptr;
         },
         "\n(design  d\n (cell  e  TOP))", "\n(design  d\n (CELL  e  Top))", 2},
        {"a deleted node and the children a form lets go", "", "(design d (Cell c smd) (CELL e Top))",
         [](CZelParser& parser, const CZelOid* design, std::unique_ptr<CZelOid>&) {
             EXPECT_EQ(1, parser.DeleteObject(Child(design, 2), 1));
             EXPECT_EQ(1, Child(design, 1)->RemoveObjects());
             return nullptr;
         },
         "\n(design  d\n (cell))", "\n(design  d\n (Cell))", 1},
        {"a copy", "", "(design d (Cell c smd))",
         [](CZelParser&, const CZelOid* design, std::unique_ptr<CZelOid>& copy) {
             copy.reset(new CZelOid(*Child(design, 1)));
             return copy.get();
         },
         "\n(cell  c  SMD)", "\n(Cell  c  smd)", 3},
        {"edits: text read with the option, forms made by keyword", "", "(design d)",
         [](CZelParser& parser, const CZelOid* design, std::unique_ptr<CZelOid>&) {
             EXPECT_NE(nullptr, parser.AddObject(design, "(CELL c Smd)"));
             EXPECT_NE(nullptr, design->AppForm(Child(design, 1)->GetKeywordId()));
             return nullptr;
         },
         "\n(design  d\n (cell  c  SMD)\n (cell))", "\n(design  d\n (CELL  c  Smd)\n (cell))", 2},
    };
    for (const auto& c : cases) {
        CZelGrammar g;
        ASSERT_EQ(0, g.Compile((std::string(kGrammar) + c.rules).c_str())) << c.name;
        for (const int option : {0, int{zelLEX_KEEP_KEYWORD_CASE}}) {
            CZelParser parser(g.GetDescriptor(), 4, 65535, g.GetEscapeChar(), g.GetExtendedSyntax(),
                              g.GetLexicalOptions() | option);
            ASSERT_EQ(0, ParseLine(parser, c.input)) << c.name;
            const CZelOid* design = parser.GetGoalAt(0);
            std::unique_ptr<CZelOid> copy;
            const CZelOid* node = c.operation(parser, design, copy);
            EXPECT_EQ(option ? c.asRead : c.declared, Written(parser, node ? node : design)) << c.name;
            EXPECT_EQ(option ? c.spellings : 0u, SpellingCount(parser)) << c.name;
            EXPECT_STREQ("cell", parser.GetKeyword(Child(design, 1)->GetKeywordId())) << c.name;
            copy.reset();
            parser.FullInit();
            EXPECT_EQ(0u, SpellingCount(parser)) << c.name;
        }
    }
}
