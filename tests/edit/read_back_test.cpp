// Grammar-checked edits keep a form's children readable: text is read at its place among
// the siblings, and an edit after which a sibling would read back as another element (or
// not at all) is refused with the tree left as it was.
#include <gtest/gtest.h>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

enum Op { kAdd, kIns, kReplace, kInsIdent, kInsStrtok, kInsInttok, kInsRealtok };

struct Case {
    const char* grammar;
    int extended;
    const char* document;
    Op op;
    int child;         // the child of the first goal edited; -1: the goal itself (kAdd)
    const char* text;  // text, or the value of kInsIdent and kInsStrtok
    double number;     // value of kInsInttok and kInsRealtok
    const char* after; // shape after the edit; null: refused, the tree as it was
};

const char kIdents[] = "goal design0 ; form design0 = ident+ integer val1 ; value val1 = ident ;";
const char kReals[] = "goal design0 ; form design0 = val0? (real string* string* | int string | string E5* val0+) ;"
                      " value val0 = real ;";
const char kPairs[] = "goal f ; form f = ident (A int)* ;";
const char kInts[] = "goal f ; form f = int+ ;";
const char kNone[] = "goal f ; form f = NONE? ident* ;";
const char kLate[] = "goal f ; form f = int? real* ;";
const char kCells[] = "goal d ; form d = ident c* ; form c = ident int? ;";

const Case kCases[] = {
    // A text in front of the last value: "N" would read as val1 and Z3tj as nothing.
    {kIdents, 0, "(design0 q4x7u e5 Ysz_rqr 1462087610 Z3tj)", kIns, 4, "N", 0, nullptr},
    {kIdents, 0, "(design0 q4x7u e5 Ysz_rqr 1462087610 Z3tj)", kIns, 1, "N", 0,
     "(design0 q4x7u N e5 Ysz_rqr 1462087610 Z3tj)"},
    {kIdents, 0, "(design0 q4x7u e5 7 Z3tj)", kReplace, 1, "W", 0, "(design0 q4x7u W 7 Z3tj)"},
    // The required val1 stays when it is replaced: a second value in front of it does not read back.
    {kIdents, 0, "(design0 q4x7u 7 Z3tj)", kReplace, 2, "W", 0, nullptr},
    // A string in front of -0.5 moves the group to its third alternative: -0 would read as val0.
    {kReals, 0, "(design0 -0.5 -0 \"s\")", kInsStrtok, 0, ";semi", 0, nullptr},
    {kReals, 0, "(design0 -0.5 -0 \"s\")", kInsStrtok, 2, "t", 0, "(design0 -0.500000 -0.000000 \"t\" \"s\")"},
    // Text is read where it goes: inside a repeated group, after the required name.
    {kPairs, 0, "(f x A 1)", kAdd, -1, "A 2", 0, "(f x A 1 A 2)"},
    {kPairs, 0, "(f x A 1)", kIns, 1, "y", 0, nullptr},
    // The first element of a group's alternative is optional, so these read back.
    {kPairs, 0, "(f x A 1)", kIns, 1, "A", 0, "(f x A A 1)"},
    // A required node that a replacement keeps stays after the new ones where that reads back.
    {kInts, 0, "(f 1 2)", kReplace, 0, "5", 0, "(f 5 1 2)"},
    {kInts, 0, "(f 1 2)", kInsRealtok, 1, "", 9.5, nullptr},
    // Under the extended rules an identifier that spells a literal reads as either.
    {kNone, 1, "(f x)", kInsIdent, 0, "none", 0, nullptr},
    {kNone, 1, "(f NONE x)", kInsIdent, 1, "none", 0, "(f NONE none x)"},
    // An integer where a real follows only: read as a real there, as an int in front.
    {kLate, 0, "(f 1.5)", kAdd, -1, "2", 0, "(f 1.500000 2.000000)"},
    {kLate, 0, "(f 1.5)", kIns, 0, "2", 0, "(f 2 1.500000)"},
    // Nested forms from text are parsed by the engine and checked as well.
    {kCells, 0, "(d top (c a 1))", kAdd, -1, "(c b) (c e 2)", 0, "(d top (c a 1) (c b) (c e 2))"},
    {kCells, 0, "(d top (c a 1))", kIns, 1, "(c b 3 4)", 0, nullptr},
};

// Applies the case's edit; returns the node the edit made, or null.
const CZelOid* Apply(CZelParser& parser, const CZelOid* goal, const Case& c)
{
    const CZelOid* node = c.child < 0 ? goal : goal->GetFirstObj();
    for (int n = c.child; n > 0 && node; --n)
        node = node->GetNextObj();
    CStringList lines;
    lines.AddTail(c.text);
    switch (c.op) {
    case kAdd: return parser.AddObject(node, c.text);
    case kIns: return parser.InsObject(node, &lines);
    case kReplace: return parser.ReplaceObject(node, &lines);
    case kInsIdent: return node->InsIdent(c.text);
    case kInsStrtok: return node->InsStrtok(c.text);
    case kInsInttok: return node->InsInttok(static_cast<int>(c.number));
    case kInsRealtok: return node->InsRealtok(c.number);
    }
    return nullptr;
}

}  // namespace

TEST(Edit_ReadBack, EditsThatChangeHowSiblingsReadAreRefused)
{
    for (const Case& c : kCases) {
        CZelGrammar compiled;
        ASSERT_EQ(0, compiled.Compile(c.grammar)) << c.grammar;
        RecordingParser parser(compiled.GetDescriptor(), 16, 65535, 0, c.extended);
        CStringList document;
        document.AddTail(c.document);
        ASSERT_EQ(0, parser.Parse(&document)) << c.document;
        const std::string before = WrittenList(parser);
        const CZelOid* made = Apply(parser, parser.GetGoalAt(0), c);
        const std::string where = std::string(c.document) + " edit " + std::to_string(c.op) + " at " +
                                  std::to_string(c.child) + " with " + c.text;
        EXPECT_EQ(c.after != nullptr, made != nullptr) << where;
        if (!c.after) {
            EXPECT_EQ(before, WrittenList(parser)) << where;
            continue;
        }
        EXPECT_EQ(c.after, Shape(parser.GetGoalAt(0))) << where;
        // The written text reads back as the same tree under both engines.
        const std::string text = WrittenList(parser);
        for (int engine = 0; engine < 2; ++engine) {
            RecordingParser back(compiled.GetDescriptor(), 16, 65535, 0, c.extended);
            const std::string name = TempFile(text);
            EXPECT_EQ(0, back.Parse(name.c_str(), engine)) << where << "\n" << text;
            EXPECT_EQ(c.after, Shape(back.GetGoalAt(0))) << where << "\n" << text;
        }
    }
}
