// CZelOid: the node record, its copies, and the release of nodes and subtrees.
#include <cstdlib>
#include <cstring>

#include "tree/block_pool.h"
#include "core/parser_access.h"
#include "tree/node_access.h"
#include "tree/node_fields.h"
#include "zel/oid.h"
#include "zel/parser.h"

namespace {

// Gives node its own copy of other's value, so that each node frees only its own block. A
// form's symbol map is an index of the original's children and is not copied.
void CopyValue(const CZelOid* node, const CZelOid& other)
{
    const void* value = zel::ValueOf(&other);
    if (zel::SemOf(&other) < 0)
        return;
    // A copy writes its keyword as its original does; without memory for that, as the
    // grammar names it.
    if (zel::ParserAccess::Ready(zel::OwnerOf(node)))
        zel::ParserAccess::Of(*zel::OwnerOf(node)).store.Spellings().Copy(&other, node);
    if (!value)
        return;
    switch (other.GetObjType()) {
    case zelKW_INTTOK:
    case zelKW_REALTOK:
        if ((zel::ValueOf(node) = zel::PoolAllocate(zel::kNumberBlockSize)))
            std::memcpy(zel::ValueOf(node), value, zel::kNumberBlockSize);
        break;
    case zelKW_STRTOK:
    case zelKW_IDENT: {
        const char* text = static_cast<const char*>(value);
        zel::ValueOf(node) = zel::CopyText(text, std::strlen(text));
        break;
    }
    case zelKW_WORDTOK: {
        const char* text = static_cast<const char*>(value);
        zel::ValueOf(node) = zel::CopyWord(text, std::strlen(text), zel::WordMarked(text));
        break;
    }
    default:
        break;
    }
}

}  // namespace

CZelOid::CZelOid(CZelParser* parser)
    : m_parser(parser), m_sem(-1), m_flags(0), Plink(nullptr), Clink(nullptr), Nlink(nullptr), Dlink(nullptr)
{
}

CZelOid::CZelOid(const CZelOid& other)
    : m_parser(other.m_parser),
      m_sem(other.m_sem < 0 ? -1 : other.m_sem),
      m_flags(other.m_flags),
      Plink(other.Plink),
      Clink(other.Clink),
      Nlink(other.Nlink),
      Dlink(nullptr)
{
    CopyValue(this, other);
}

CZelOid& CZelOid::operator=(const CZelOid& other)
{
    // A released node that its parser keeps stays free: nothing brings it back into use.
    if (this == &other || m_sem == zel::kRetainedSem)
        return *this;
    zel::FreeValue(this);
    m_parser = other.m_parser;
    m_sem = other.m_sem < 0 ? -1 : other.m_sem;
    m_flags = other.m_flags;
    Plink = other.Plink;
    Clink = other.Clink;
    Nlink = other.Nlink;
    Dlink = nullptr;
    CopyValue(this, other);
    return *this;
}

CZelOid::~CZelOid()
{
    if (m_sem == zel::kRetainedSem && zel::ParserAccess::Ready(m_parser))
        zel::ParserAccess::Of(*m_parser).store.Forget(this);
    zel::FreeValue(this);
}


CZelParser* CZelOid::GetParser() const { return m_parser; }

int CZelOid::GetFlags() const { return m_flags; }

int CZelOid::GetLine() const { return zel::BlockLine(this); }

void CZelOid::SetFlags(int flags) const { m_flags = flags; }

void zel::FreeValue(const CZelOid* node)
{
    if (SemOf(node) < 0)
        return;
    if (ParserAccess::Ready(OwnerOf(node))) {
        ParserAccess::Of(*OwnerOf(node)).store.Spellings().Forget(node);
        ParserAccess::Of(*OwnerOf(node)).store.Comments().Forget(node);
    }
    if (void* value = ValueOf(node)) {
        const int type = node->GetObjType();
        if (type == zelKW_FORM)
            delete static_cast<CMapStringToPtr*>(value);
        else if (type == zelKW_INTTOK || type == zelKW_REALTOK)
            PoolFree(value, kNumberBlockSize);
        else
            std::free(value);
    }
    NodeAccess::Flags(node) = 0;
    ParentOf(node) = ChildOf(node) = NextOf(node) = nullptr;
    ValueOf(node) = nullptr;
    SemOf(node) = -1;
}

int CZelOid::RemObject() const
{
    if (m_sem < 0 || !zel::ParserAccess::Ready(m_parser))
        return 1;
    return zel::ParserAccess::Of(*m_parser).store.ReleaseHead(const_cast<CZelOid*>(this)) ? 1 : 0;
}

int CZelOid::RemoveObjects() const
{
    if (m_sem < 0 || !zel::ParserAccess::Ready(m_parser))
        return 1;
    zel::NodeStore& store = zel::ParserAccess::Of(*m_parser).store;
    // A copy carries its original's child link without holding the children: it lets go
    // of the link and leaves the tree alone, as RemObject on a copy does.
    CZelOid** link = nullptr;
    if (Clink && Clink->Plink != this && !Clink->Plink && !store.Goals().Contains(this) && !store.FindLink(this, link))
        return 0;
    if (Clink && Clink->Plink != this && (Clink->Plink || (!store.Goals().Contains(this) && !link))) {
        Clink = nullptr;
        return 1;
    }
    // The children go one by one from the front of the chain. They are taken off
    // through this node's Clink, so children without a parent link go as well.
    if (Dlink && GetObjType() == zelKW_FORM)
        static_cast<CMapStringToPtr*>(Dlink)->RemoveAll();
    while (Clink) {
        CZelOid* child = Clink;
        Clink = child->Nlink;
        child->Nlink = nullptr;
        store.ReleaseChain(child);
    }
    return 1;
}
