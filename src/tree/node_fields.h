// The library's access to the fields of a node: the links, the element, the value block
// and the owning parser. CZelOid names this struct as its one friend.
#ifndef ZEL_TREE_NODE_FIELDS_H
#define ZEL_TREE_NODE_FIELDS_H

#include "zel/oid.h"

namespace zel {

struct NodeAccess {
    static CZelParser*& Owner(const CZelOid* n) { return const_cast<CZelOid*>(n)->m_parser; }
    static int& Sem(const CZelOid* n) { return n->m_sem; }
    static int& Flags(const CZelOid* n) { return n->m_flags; }
    static CZelOid*& Parent(const CZelOid* n) { return n->Plink; }
    static CZelOid*& Child(const CZelOid* n) { return n->Clink; }
    static CZelOid*& Next(const CZelOid* n) { return n->Nlink; }
    static void*& Value(const CZelOid* n) { return n->Dlink; }
    static void FreeData(const CZelOid* n) { n->FreeData(); }
    static bool HasText(const CZelOid* n) { return n->HasText(); }
    static CZelOid* Prev(const CZelOid* n) { return n->GetPrev(); }
    static int ReplaceText(const CZelOid* n, const char* text, size_t length) { return n->ReplaceText(text, length); }
};

// The element of a node; -1 (or below) for a free node.
inline int& SemOf(const CZelOid* n) { return NodeAccess::Sem(n); }
inline CZelOid*& ParentOf(const CZelOid* n) { return NodeAccess::Parent(n); }
inline CZelOid*& ChildOf(const CZelOid* n) { return NodeAccess::Child(n); }
inline CZelOid*& NextOf(const CZelOid* n) { return NodeAccess::Next(n); }
inline void*& ValueOf(const CZelOid* n) { return NodeAccess::Value(n); }
inline CZelParser*& OwnerOf(const CZelOid* n) { return NodeAccess::Owner(n); }

}  // namespace zel

#endif
