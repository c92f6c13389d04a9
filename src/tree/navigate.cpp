// Navigation: links, keyword questions and searches over a node's children.
#include <strings.h>

#include "core/parser_access.h"
#include "tree/node_fields.h"
#include "tree/symbols.h"
#include "zel/oid.h"

namespace zel {

const zelSemanticS* SemanticRowOf(const CZelOid* node)
{
    if (SemOf(node) < 0 || !ParserAccess::Ready(OwnerOf(node)))
        return nullptr;
    const GrammarTables& grammar = ParserAccess::Of(*OwnerOf(node)).grammar;
    return grammar.Has() ? &grammar.Row(SemOf(node)) : nullptr;
}

const zelKeywordS* KeywordRowOf(const CZelOid* node)
{
    if (!ParserAccess::Ready(OwnerOf(node)))
        return nullptr;
    const GrammarTables& grammar = ParserAccess::Of(*OwnerOf(node)).grammar;
    if (!grammar.Has())
        return nullptr;
    return &grammar.KeywordRow(SemOf(node) < 0 ? 0 : grammar.ElementKeyword(SemOf(node)));
}

CZelOid* PrevOf(const CZelOid* node)
{
    const CZelOid* parent = ParentOf(node);
    if (!parent || !ChildOf(parent))
        return nullptr;
    for (CZelOid* n = ChildOf(parent); n; n = NextOf(n))
        if (NextOf(n) == node)
            return n;
    return nullptr;
}

}  // namespace zel

int CZelOid::GetKeywordId() const
{
    const zelSemanticS* row = zel::SemanticRowOf(this);
    return row ? row->keywordId : 0;
}

int CZelOid::GetObjType() const
{
    const zelKeywordS* row = zel::KeywordRowOf(this);
    return row ? row->type : zelKW_DUMMY;
}

const char* CZelOid::GetKeyword() const
{
    const zelKeywordS* row = zel::KeywordRowOf(this);
    return row ? row->name : "";
}

int CZelOid::GetKeywordType() const { return GetObjType(); }

int CZelOid::GetKeywordSemanticId() const
{
    if (m_sem < 0)
        return -1;
    const zelKeywordS* row = zel::KeywordRowOf(this);
    return row ? row->semanticId : -1;
}

int CZelOid::GetSemanticType() const
{
    const zelSemanticS* row = zel::SemanticRowOf(this);
    return row ? row->semType : 0;
}

const CZelOid* CZelOid::GetFirstObj(int* keyword) const
{
    if (keyword)
        *keyword = Clink ? Clink->GetKeywordId() : 0;
    return Clink;
}

const CZelOid* CZelOid::GetNextObj(int* keyword) const
{
    if (keyword)
        *keyword = Nlink ? Nlink->GetKeywordId() : 0;
    return Nlink;
}

const CZelOid* CZelOid::GetNextInst() const
{
    if (m_sem < 0)
        return nullptr;
    const int keyword = GetKeywordId();
    for (const CZelOid* n = Nlink; n; n = n->Nlink)
        if (n->GetKeywordId() == keyword)
            return n;
    return nullptr;
}

const CZelOid* CZelOid::GetPrevObj() const { return zel::PrevOf(this); }

const CZelOid* CZelOid::GetParent() const { return Plink; }

const CZelOid* CZelOid::GetGrandParent() const { return Plink ? Plink->Plink : nullptr; }

const CZelOid* CZelOid::FindObj(int keyword) const
{
    for (const CZelOid* n = Clink; n; n = n->Nlink)
        if (n->GetKeywordId() == keyword)
            return n;
    return nullptr;
}

const CZelOid* CZelOid::FindObj(const CZelOid* node, int keyword) { return node ? node->FindObj(keyword) : nullptr; }

const CZelOid* CZelOid::FindObj(int keyword, const char* name) const { return FindNamedObj(keyword, name); }

const CZelOid* CZelOid::FindNamedObj(int keyword, const char* name) const
{
    if (!name)
        return nullptr;
    if (m_sem >= 0 && zel::ParserAccess::Ready(m_parser) && zel::ParserAccess::Of(*m_parser).symbolHashing &&
        zel::IsHashedMember(zel::ParserAccess::Of(*m_parser).grammar, GetKeywordId(), keyword)) {
        void* found = nullptr;
        if (Dlink && GetObjType() == zelKW_FORM &&
            static_cast<const CMapStringToPtr*>(Dlink)->Lookup(name, found))
            return static_cast<const CZelOid*>(found);
        return nullptr;
    }
    for (const CZelOid* n = FindObj(keyword); n; n = n->GetNextInst()) {
        const CZelOid* first = n->Clink;
        if (!first)
            return nullptr;
        if (zel::HasText(first) && strcasecmp(static_cast<const char*>(first->Dlink), name) == 0)
            return n;
    }
    return nullptr;
}
