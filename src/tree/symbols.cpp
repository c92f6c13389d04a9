// Symbol maps on form nodes and the registration of hashed rows in the grammar.
#include "tree/symbols.h"

#include <cstdio>

#include "core/allocation_guard.h"
#include "core/conventions.h"
#include "core/grammar_tables.h"
#include "diag/messages.h"
#include "tree/node_access.h"
#include "tree/node_fields.h"
#include "zel/oid.h"

namespace zel {

int FindMemberRow(const GrammarTables& grammar, int keyword, int member)
{
    if (!grammar.Has() || keyword < 0 || keyword >= grammar.KeywordCount())
        return -1;
    for (int row = grammar.KeywordHead(keyword); row < grammar.RowCount(); ++row) {
        const zelSemanticS& s = grammar.Row(row);
        if (s.semType == kMemberScanEnd || s.keywordId == member)
            return row;
    }
    return -1;
}

bool IsHashedMember(const GrammarTables& grammar, int keyword, int member)
{
    const int row = FindMemberRow(grammar, keyword, member);
    return row >= 0 && (grammar.Row(row).attributes & kHashedSymbol);
}

void StoreSymbol(GrammarTables& grammar, Reporter& reporter, bool trace, const CZelOid* node, const char* name)
{
    CZelOid* parent = ParentOf(node);
    if (!name || SemOf(node) < 0 || !parent || parent->GetObjType() != zelKW_FORM)
        return;
    if (trace)
        std::printf(kHashTraceMessage, name);
    GuardAllocation(reporter, false, [&] {
        if (!ValueOf(parent)) {
            ValueOf(parent) = new CMapStringToPtr(10);
            grammar.WritableRow(SemOf(node)).attributes |= kHashedSymbol;
        }
        (*static_cast<CMapStringToPtr*>(ValueOf(parent)))[name] = const_cast<CZelOid*>(node);
        return true;
    });
}

void ForgetSymbol(const CZelOid* node)
{
    const CZelOid* parent = ParentOf(node);
    if (parent && SemOf(parent) >= 0 && ValueOf(parent) && parent->GetObjType() == zelKW_FORM)
        static_cast<CMapStringToPtr*>(ValueOf(parent))->RemoveValue(const_cast<CZelOid*>(node));
}

int RegisterMember(GrammarTables& grammar, int keyword, int member, char* (*proc)(void), bool hashed)
{
    const int row = FindMemberRow(grammar, keyword, member);
    if (row < 0 || grammar.Row(row).semType == kMemberScanEnd)
        return 8;
    zelSemanticS& s = grammar.WritableRow(row);
    if (hashed)
        s.attributes |= kHashedSymbol;
    s.idProc = proc;
    return 0;
}

}  // namespace zel
