// Symbol maps on form nodes and the registration of hashed rows in the grammar.
#include <cstdio>

#include "core/allocation_guard.h"
#include "tree/node_access.h"
#include "zel/oid.h"
#include "zel/parser.h"

using zel::kHashedSymbol;

// Scans the rule of keyword from its first row for the row of member; the scan also
// stops at a row whose flag word is exactly S_REQ. Returns the row where it stopped,
// or -1 when it ran off the table.
int CZelParser::FindMemberRow(int keyword, int member) const
{
    if (!HasGrammar() || keyword < 0 || keyword >= m_grammar.kwCount)
        return -1;
    for (int row = m_grammar.kwTable[keyword].semanticId; row < m_semRows; ++row) {
        const zelSemanticS& s = m_grammar.semTable[row];
        if (s.semType == S_REQ || s.keywordId == member)
            return row;
    }
    return -1;
}

bool CZelParser::IsHashedMember(int keyword, int member) const
{
    const int row = FindMemberRow(keyword, member);
    return row >= 0 && (m_grammar.semTable[row].attributes & kHashedSymbol);
}

void CZelParser::StoreSymbol(const CZelOid* node, const char* name)
{
    if (!IsOwnNode(node) || !name || node->m_sem < 0 || !node->Plink || node->Plink->GetObjType() != zelKW_FORM)
        return;
    if (m_trace)
        std::printf("\nHashing symbol: %s", name);
    CZelOid* parent = node->Plink;
    zel::GuardAllocation(*this, false, [&] {
        if (!parent->Dlink) {
            parent->Dlink = new CMapStringToPtr(10);
            m_grammar.semTable[node->m_sem].attributes |= kHashedSymbol;
        }
        (*static_cast<CMapStringToPtr*>(parent->Dlink))[name] = const_cast<CZelOid*>(node);
        return true;
    });
}

// Takes node out of its form's symbol map before the node goes.
void CZelParser::ForgetSymbol(const CZelOid* node)
{
    const CZelOid* parent = node->Plink;
    if (parent && parent->m_sem >= 0 && parent->Dlink && parent->GetObjType() == zelKW_FORM)
        static_cast<CMapStringToPtr*>(parent->Dlink)->RemoveValue(const_cast<CZelOid*>(node));
}

int CZelParser::BuildSymbolTables() { return 0; }

int CZelParser::RegisterSymbolTable(int keyword, int member, char* (*proc)(void))
{
    const int row = FindMemberRow(keyword, member);
    if (row < 0 || m_grammar.semTable[row].semType == S_REQ)
        return 8;
    m_grammar.semTable[row].attributes |= kHashedSymbol;
    m_grammar.semTable[row].idProc = proc;
    return 0;
}

int CZelParser::RegisterIdProc(int keyword, int member, char* (*proc)(void))
{
    const int row = FindMemberRow(keyword, member);
    if (row < 0 || m_grammar.semTable[row].semType == S_REQ)
        return 8;
    m_grammar.semTable[row].idProc = proc;
    return 0;
}
