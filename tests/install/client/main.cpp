// A tiny client built against the installed package: one form parsed from a line list.
#include <cstring>
#include <zel/zel.h>

static zelKeywordS Kw(const char* name, int type, int sem)
{
    zelKeywordS k{};
    std::strcpy(k.name, name);
    k.accept = 1;
    k.type = type;
    k.semanticId = sem;
    return k;
}

int main()
{
    zelKeywordS keywords[] = {Kw("", zelKW_DUMMY, 0),       Kw(")", zelKW_EOFORM, 0),
                              Kw("ident", zelKW_IDENT, 0),  Kw("integer", zelKW_INTTOK, 0),
                              Kw("real", zelKW_REALTOK, 0), Kw("string", zelKW_STRTOK, 0),
                              Kw("unused", zelKW_DUMMY, 0), Kw("$GOAL", zelKW_COMPOSITE, 1),
                              Kw("point", zelKW_FORM, 2)};
    zelSemanticS rows[] = {{0, 0, 0, 0, 0, nullptr},
                           {8, S_OPT, 0, 0, 0, nullptr},
                           {3, S_OPTG | S_REPG | S_GRPHEAD, 0, 0, 3, nullptr},
                           {1, S_REQ, 0, 0, 0, nullptr}};
    zelParserS grammar{rows, 4, keywords, 9};
    CZelParser parser(&grammar);
    CStringList lines;
    lines.AddTail("(point 3 4)");
    if (parser.Parse(&lines) != 0)
        return 1;
    int x = 0;
    const CZelOid* point = parser.GetGoal(8);
    return point && point->GetFirstInttok(&x) && x == 3 ? 0 : 2;
}
