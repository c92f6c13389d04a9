// Debug dumps: the object table row of a node, a node's labelled block, the run
// statistics and the dump of every goal to a file.
#include <cstdio>

#include "output/dump.h"

#include "core/type_names.h"
#include "tree/node_fields.h"
#include "zel/oid.h"
#include "zel/parser.h"

void CZelOid::Print(int header, int index) const
{
    if (header)
        std::fprintf(stdout, "Indx Object   KwType        Sem  Keyword         Flags Plink    Clink    Nlink    Data\n");
    if (m_sem < 0 || !m_parser) {
        std::fprintf(stdout, "%d (not in use)\n", index);
        return;
    }
    const int type = GetKeywordType();
    // The row is formatted at its full length, whatever the length of the names.
    CString row;
    row.Format("%4d %p %-13s %4d %-15s %5d %p %p %p ", index, static_cast<const void*>(this),
               zel::KeywordTypeName(type), m_sem, GetKeyword(), m_flags, static_cast<void*>(Plink),
               static_cast<void*>(Clink), static_cast<void*>(Nlink));
    std::fprintf(stdout, "%s", static_cast<const char*>(row));
    if (Dlink) {
        switch (type) {
        case zelKW_INTTOK:
            std::fprintf(stdout, "%d", GetIntval());
            break;
        case zelKW_REALTOK:
            std::fprintf(stdout, "%lf", GetRealval());
            break;
        case zelKW_FORM:
            std::fprintf(stdout, "%p", Dlink);
            break;
        default:
            std::fprintf(stdout, "\"%s\"", zel::HasText(this) ? static_cast<const char*>(Dlink) : "");
            break;
        }
    }
    std::fprintf(stdout, "\n");
}

namespace zel {

void PrintNode(const CZelOid* node, bool hasGrammar)
{
    std::printf("\nObject: ");
    if (SemOf(node) < 0 || !hasGrammar) {
        std::printf("(not in use)\n");
        return;
    }
    const int type = node->GetKeywordType();
    const int semType = node->GetSemanticType();
    std::printf("\n  Keyword : %d %s", node->GetKeywordId(), node->GetKeyword());
    std::printf("\n  KW Type : %d %s", type, KeywordTypeName(type));
    std::printf("\n  Sem Id  : %d", SemOf(node));
    std::printf("\n  Sem Type: %d %s", semType, FlagsText(semType));
    std::printf("\n  Flags   : %d", NodeAccess::Flags(node));
    if (ChildOf(node))
        std::printf("\n  Clink   : %s", ChildOf(node)->GetKeyword());
    else
        std::printf("\n  Clink   : (nil)");
    if (NextOf(node))
        std::printf("\n  Nlink   : %s", NextOf(node)->GetKeyword());
    else
        std::printf("\n  Nlink   : (nil)");
    if (!ValueOf(node))
        std::printf("\n  Dlink   : (nil)");
    else if (type == zelKW_INTTOK)
        std::printf("\n  Dlink   : %d", node->GetIntval());
    else if (type == zelKW_REALTOK)
        std::printf("\n  Dlink   : %f", node->GetRealval());
    else if (type == zelKW_FORM)
        std::printf("\n  Dlink   : symbol map of %d entries",
                    static_cast<const CMapStringToPtr*>(ValueOf(node))->GetCount());
    else
        std::printf("\n  Dlink   : \"%s\"", HasText(node) ? static_cast<const char*>(ValueOf(node)) : "");
    std::printf("\n");
}

void PrintStatistics(CZelParser& hooks, int lines, int tokens, int stackHigh, int stringBytes, int symbols)
{
    hooks.WriteMsg("Total number of lines : %d\n", lines);
    hooks.WriteMsg("Total number of tokens: %d\n", tokens);
    hooks.WriteMsg("Max recusrsion level  : %d\n", stackHigh);
    hooks.WriteMsg("Allocated page size   : %d\n", 4095);
    hooks.WriteMsg("Object table size     : %d\n", stringBytes);
    hooks.WriteMsg("Symbol table size     : %d\n", symbols);
}

}  // namespace zel
