// The library's access to the fields of a node: the links, the element, the value block
// and the owning parser. CZelOid names this struct as its one friend.
#ifndef ZEL_TREE_NODE_FIELDS_H
#define ZEL_TREE_NODE_FIELDS_H

#include <cstddef>

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
};

// The element of a node; -1 (or below) for a free node.
inline int& SemOf(const CZelOid* n) { return NodeAccess::Sem(n); }
inline CZelOid*& ParentOf(const CZelOid* n) { return NodeAccess::Parent(n); }
inline CZelOid*& ChildOf(const CZelOid* n) { return NodeAccess::Child(n); }
inline CZelOid*& NextOf(const CZelOid* n) { return NodeAccess::Next(n); }
inline void*& ValueOf(const CZelOid* n) { return NodeAccess::Value(n); }
inline CZelParser*& OwnerOf(const CZelOid* n) { return NodeAccess::Owner(n); }

// The semantic row of a live node of a parser with tables; null otherwise.
const zelSemanticS* SemanticRowOf(const CZelOid* node);
// The keyword row of a node of a parser with tables (a free node answers as keyword 0); null otherwise.
const zelKeywordS* KeywordRowOf(const CZelOid* node);
// True for a live identifier, string or word node with a value.
bool HasText(const CZelOid* node);
// The sibling in front of node on its parent's chain; null for the first child and without a parent.
CZelOid* PrevOf(const CZelOid* node);
// Frees node's value and puts it in the free state: no element, links, value or flags.
void FreeValue(const CZelOid* node);
// Replaces the text of an identifier, string or word node. A word is written as itself, or
// marked where only that lets its parent's children read back (see CopyWord). For the
// other kinds an old block holding a longer text is
// reused; otherwise a block of the new size replaces it once it is allocated. The node
// leaves its form's symbol map under the old text, and a value whose row is marked for
// hashing is entered under the new one. The text may lie in the node's own block. Returns
// 1; 0 for a node without text kind; -1 for a text that the writer cannot write back under
// the parser's settings; -4 when out of memory. The node keeps its value unless 1.
int ReplaceNodeText(const CZelOid* node, const char* text, size_t length);
// Enters a text node in its form's symbol map when hashing is on and its row is marked for it.
void EnterSymbolIfHashed(const CZelOid* node);

}  // namespace zel

#endif
