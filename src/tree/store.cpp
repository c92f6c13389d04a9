// Node store: the node factory, release of subtrees, deletion, and the keeping of
// released nodes until FullInit or the parser's own destruction.
#include "tree/node_store.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "core/allocation_guard.h"
#include "core/counter.h"
#include "diag/reporter.h"
#include "lex/number_text.h"
#include "tree/block_pool.h"
#include "tree/node_access.h"
#include "tree/node_fields.h"
#include "tree/symbols.h"
#include "zel/oid.h"

namespace zel {

char* CopyText(const char* text, size_t length)
{
    char* block = static_cast<char*>(std::malloc(length + 1));
    if (block) {
        std::memcpy(block, text, length);
        block[length] = '\0';
    }
    return block;
}

char* CopyWord(const char* text, size_t length, bool marked)
{
    char* block = static_cast<char*>(std::malloc(length + 2));
    if (block) {
        std::memcpy(block, text, length);
        block[length] = '\0';
        block[length + 1] = marked ? 1 : 0;
    }
    return block;
}

NodeStore::~NodeStore()
{
    DeleteAll();
    DeleteReleased();
}

CZelOid* NodeStore::Make(int element, int type, const char* text, size_t length, NumberFaults* faults, bool marked)
{
    CZelOid* node = new (std::nothrow) CZelOid(&m_owner);
    if (!node) {
        m_reporter.OutOfMemory();
        return nullptr;
    }
    SemOf(node) = element;
    void* value = nullptr;
    bool failed = false;
    switch (type) {
    case zelKW_INTTOK: {
        bool outOfRange = false;
        bool malformed = false;
        const int number = TextToInt(text, outOfRange, &malformed);
        if (faults && (malformed || outOfRange))
            *faults = NumberFaults{malformed, outOfRange ? zelERR_INT_RANGE : zelERR_NONE};
        if ((value = AllocateNumberBlock()))
            *static_cast<int*>(value) = number;
        failed = !value;
        break;
    }
    case zelKW_REALTOK: {
        bool outOfRange = false;
        bool malformed = false;
        const double number = TextToDouble(text, &outOfRange, &malformed);
        if (faults && (malformed || outOfRange))
            *faults = NumberFaults{malformed, outOfRange ? zelERR_REAL_RANGE : zelERR_NONE};
        if ((value = AllocateNumberBlock()))
            *static_cast<double*>(value) = number;
        failed = !value;
        break;
    }
    case zelKW_STRTOK:
    case zelKW_IDENT:
        value = CopyText(text, length);
        failed = !value;
        if (value && m_statistics)
            CountAdd(m_stringBytes, length + 1);
        break;
    default:
        if (type == zelKW_WORDTOK) {
            // Kept as written: no conversion, no range check.
            value = CopyWord(text, length, marked);
            failed = !value;
            if (value && m_statistics)
                CountAdd(m_stringBytes, length + 2);
        }
        break;
    }
    if (failed) {
        m_reporter.OutOfMemory();
        SemOf(node) = -1;
        delete node;
        return nullptr;
    }
    ValueOf(node) = value;
    return node;
}

bool NodeStore::KeepSpelling(const CZelOid* node, const char* text, size_t length)
{
    if (m_spellings.Keep(node, text, length))
        return true;
    m_reporter.OutOfMemory();
    return false;
}

void NodeStore::Retain(CZelOid* node)
{
    // Without memory to keep it, the free node is left to the client that may hold it.
    try {
        m_released.insert(node);
        SemOf(node) = kRetainedSem;
    } catch (const std::bad_alloc&) {
        m_reporter.OutOfMemory();
    }
}

// A node stored through a parse entry's scratch cell that did not become a goal (a form
// read while an earlier form was left open, or one past the goal limit) is kept for
// deletion with the released nodes.
void NodeStore::KeepOrphans(CZelOid* node)
{
    // The top-level nodes that follow it go too, up to a goal, which takes its followers
    // along when it goes.
    while (node && !m_goals.Contains(node)) {
        CZelOid* next = NextOf(node);
        try {
            m_released.insert(node);
        } catch (const std::bad_alloc&) {
            // No client can reach it: without memory to keep it, it goes at once.
            NextOf(node) = nullptr;
            DeleteTree(node);
        }
        node = next;
    }
}

void NodeStore::DeleteReleased()
{
    std::unordered_set<const CZelOid*> released;
    released.swap(m_released);
    // A released node is free and has no children; a top-level node the goal table did
    // not take goes with its subtree.
    for (const CZelOid* node : released) {
        CZelOid* owned = const_cast<CZelOid*>(node);
        if (SemOf(owned) == kRetainedSem) {
            SemOf(owned) = -1;
            delete owned;
        } else {
            DeleteTree(owned);
        }
    }
}

// Walks each tree down through its first children, linking every child chain to its
// parent on the way down, so that the walk can climb through the links it has just set.
void NodeStore::LinkParents(int fromGoal)
{
    for (int i = fromGoal; i < m_goals.Count(); ++i) {
        CZelOid* const goal = m_goals.At(i);
        for (CZelOid* node = goal; node;) {
            if (CZelOid* child = ChildOf(node)) {
                for (CZelOid* c = child; c; c = NextOf(c))
                    ParentOf(c) = node;
                node = child;
                continue;
            }
            while (node != goal && !NextOf(node))
                node = ParentOf(node);
            node = node == goal ? nullptr : NextOf(node);
        }
    }
}

// Operations that take a node work only on nodes of this parser: another parser's node
// lives in that parser's trees and goal table, which this one must not change.
bool NodeStore::Owns(const CZelOid* node) const { return node && OwnerOf(node) == &m_owner; }

// Finds the link (a parent's Clink or a sibling's Nlink) that holds node in the tree.
// A node without a parent link is looked for in every goal tree.
CZelOid** NodeStore::FindLinkTo(const CZelOid* node)
{
    if (CZelOid* parent = ParentOf(node)) {
        if (ChildOf(parent) == node)
            return &ChildOf(parent);
        for (CZelOid* c = ChildOf(parent); c; c = NextOf(c))
            if (NextOf(c) == node)
                return &NextOf(c);
        return nullptr;
    }
    std::vector<CZelOid*> parents;
    for (int i = 0; i < m_goals.Count(); ++i) {
        for (CZelOid* n = m_goals.At(i); n; n = NextOf(n)) {
            if (NextOf(n) == node)
                return &NextOf(n);
            if (ChildOf(n))
                parents.push_back(n);
        }
    }
    while (!parents.empty()) {
        CZelOid* parent = parents.back();
        parents.pop_back();
        if (ChildOf(parent) == node)
            return &ChildOf(parent);
        for (CZelOid* c = ChildOf(parent); c; c = NextOf(c)) {
            if (NextOf(c) == node)
                return &NextOf(c);
            if (ChildOf(c))
                parents.push_back(c);
        }
    }
    return nullptr;
}

namespace {

// Visits first, its later siblings and all their subtrees, every node after its children,
// without recursion. Invariant: pending heads the chain of nodes still to visit; a node
// with children is put back behind its last child. visit may free or delete the node.
template <typename Visit>
void VisitChainPostOrder(CZelOid* first, Visit visit)
{
    CZelOid* pending = first;
    while (pending) {
        CZelOid* node = pending;
        if (CZelOid* child = ChildOf(node)) {
            CZelOid* last = child;
            while (NextOf(last))
                last = NextOf(last);
            NextOf(last) = node;
            pending = child;
            ChildOf(node) = nullptr;
            continue;
        }
        pending = NextOf(node);
        visit(node);
    }
}

}  // namespace

// Releases first, its later siblings and all their subtrees; the parser keeps them.
void NodeStore::ReleaseChain(CZelOid* first)
{
    VisitChainPostOrder(first, [this](CZelOid* node) {
        if (SemOf(node) >= 0) {
            FreeValue(node);
            Retain(node);
        }
    });
}

// The search of a node's link without a parent link may need memory; false when it ran
// out (reported), and nothing has changed then.
bool NodeStore::FindLink(const CZelOid* node, CZelOid**& link)
{
    return GuardAllocation(m_reporter, false, [&] {
        link = FindLinkTo(node);
        return true;
    });
}

bool NodeStore::ReleaseHead(CZelOid* node)
{
    CZelOid** link = nullptr;
    if (!FindLink(node, link))
        return false;
    const bool goal = m_goals.Contains(node);
    if (!link && !goal) {
        // Not part of any tree (a client's own copy): only its own value goes.
        FreeValue(node);
        return true;
    }
    if (link)
        *link = NextOf(node);
    ForgetSymbol(node);
    if (CZelOid* children = ChildOf(node)) {
        ChildOf(node) = nullptr;
        ReleaseChain(children);
    }
    FreeValue(node);
    if (!goal)
        Retain(node);
    return true;
}

// Deletes first, its later siblings and all their subtrees as objects.
void NodeStore::DeleteChain(CZelOid* first)
{
    VisitChainPostOrder(first, [](CZelOid* n) { delete n; });
}

// Deletes node and its subtree as objects; node's own siblings are left alone.
void NodeStore::DeleteTree(CZelOid* node)
{
    CZelOid* children = ChildOf(node);
    ChildOf(node) = nullptr;
    DeleteChain(children);
    delete node;
}

// The node always leaves the chain that holds it, whatever the unlink flag says and also
// without a parent link: a link left pointing at a deleted node would be followed by the
// next walk of the tree or by the parser's teardown.
bool NodeStore::Delete(CZelOid* target)
{
    CZelOid** link = nullptr;
    if (!m_goals.Contains(target) && !FindLink(target, link))
        return false;
    ForgetSymbol(target);
    if (!m_goals.Drop(target) && link)
        *link = NextOf(target);
    DeleteTree(target);
    return true;
}

void NodeStore::DeleteAll()
{
    CZelOid* goals[GoalTable::kMaxGoals];
    const int count = m_goals.TakeAll(goals);
    auto isGoal = [&](const CZelOid* n) {
        for (int i = 0; i < count; ++i)
            if (goals[i] == n)
                return true;
        return false;
    };
    for (int i = 0; i < count; ++i) {
        if (!goals[i])
            continue;
        // Top-level nodes that follow a goal without being goals themselves go with it.
        CZelOid* next = NextOf(goals[i]);
        DeleteTree(goals[i]);
        while (next && !isGoal(next)) {
            CZelOid* after = NextOf(next);
            DeleteTree(next);
            next = after;
        }
    }
}

}  // namespace zel
