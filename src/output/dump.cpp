// Debug dumps: the object table row of a node, a node's labelled block, the run
// statistics and the dump of every goal to a file.
#include <cstdio>

#include "core/allocation_guard.h"
#include "output/file_replace.h"
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
               m_parser->KwtypeToStr(type), m_sem, GetKeyword(), m_flags, static_cast<void*>(Plink),
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
            std::fprintf(stdout, "\"%s\"", HasText() ? static_cast<const char*>(Dlink) : "");
            break;
        }
    }
    std::fprintf(stdout, "\n");
}

void CZelParser::PrintObj(const CZelOid* node)
{
    // Another parser's node is read through that parser's grammar, not this one's.
    if (!IsOwnNode(node))
        return;
    std::printf("\nObject: ");
    if (node->m_sem < 0 || !HasGrammar()) {
        std::printf("(not in use)\n");
        return;
    }
    const int type = node->GetKeywordType();
    const int semType = node->GetSemanticType();
    std::printf("\n  Keyword : %d %s", node->GetKeywordId(), node->GetKeyword());
    std::printf("\n  KW Type : %d %s", type, KwtypeToStr(type));
    std::printf("\n  Sem Id  : %d", node->m_sem);
    std::printf("\n  Sem Type: %d %s", semType, SemtypeToStr(semType));
    std::printf("\n  Flags   : %d", node->m_flags);
    if (node->Clink)
        std::printf("\n  Clink   : %s", node->Clink->GetKeyword());
    else
        std::printf("\n  Clink   : (nil)");
    if (node->Nlink)
        std::printf("\n  Nlink   : %s", node->Nlink->GetKeyword());
    else
        std::printf("\n  Nlink   : (nil)");
    if (!node->Dlink)
        std::printf("\n  Dlink   : (nil)");
    else if (type == zelKW_INTTOK)
        std::printf("\n  Dlink   : %d", node->GetIntval());
    else if (type == zelKW_REALTOK)
        std::printf("\n  Dlink   : %f", node->GetRealval());
    else if (type == zelKW_FORM)
        std::printf("\n  Dlink   : symbol map of %d entries",
                    static_cast<const CMapStringToPtr*>(node->Dlink)->GetCount());
    else
        std::printf("\n  Dlink   : \"%s\"", node->HasText() ? static_cast<const char*>(node->Dlink) : "");
    std::printf("\n");
}

void CZelParser::PrintStats()
{
    WriteMsg("Total number of lines : %d\n", m_lineNo);
    WriteMsg("Total number of tokens: %d\n", m_tokenCount);
    WriteMsg("Max recusrsion level  : %d\n", m_stackHigh);
    WriteMsg("Allocated page size   : %d\n", 4095);
    WriteMsg("Object table size     : %d\n", m_stringBytes);
    WriteMsg("Symbol table size     : %d\n", m_symbolCount);
}

void CZelParser::DumpFile(const char* fileName, int, CStringList* header)
{
    if (!zel::GuardAllocation(*this, false, [&] {
            WriteDump(fileName, header);
            return true;
        }))
        m_errno = 5;
}

void CZelParser::WriteDump(const char* fileName, CStringList* header)
{
    m_errno = 0;
    m_trace = 1;
    const CString name(fileName ? fileName : static_cast<const char*>(m_ofname));
    if (name.IsEmpty()) {
        WriteMsg("Error: no output file name specified.\n");
        m_errno = 5;
        return;
    }
    zel::FileReplacement file;
    if (!file.Begin(name, false)) {
        WriteMsg("Error opening file: %s\n", static_cast<const char*>(name));
        m_errno = 5;
        return;
    }
    WriteHeader(file.Stream(), header);
    for (int i = 0; i < m_goalCount; ++i)
        WriteFile(file.Stream(), m_goals[i], 0, 1);
    std::fputc('\n', file.Stream());
    if (!file.Commit()) {
        WriteMsg("Error writing file: %s\n", static_cast<const char*>(name));
        m_errno = 5;
    }
}
