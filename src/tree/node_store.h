// The node store: makes the nodes of one parser, keeps its goal table and the nodes it
// released, and destroys trees. Every node it makes belongs to the owner parser.
#ifndef ZEL_TREE_NODE_STORE_H
#define ZEL_TREE_NODE_STORE_H

#include <cstddef>
#include <unordered_set>

#include "tree/comment_table.h"
#include "tree/goal_table.h"
#include "tree/keyword_spellings.h"
#include "zel/diag.h"

class CZelOid;
class CZelParser;

namespace zel {

class Reporter;

// What the conversion of a number text found: the text is not one well-formed number,
// or its value is out of range (range: zelERR_INT_RANGE, zelERR_REAL_RANGE or zelERR_NONE).
struct NumberFaults {
    bool malformed = false;
    zelErrCode range = zelERR_NONE;
};

class NodeStore {
public:
    NodeStore(CZelParser& owner, Reporter& reporter, int maxGoals) : m_owner(owner), m_reporter(reporter), m_goals(maxGoals) {}
    ~NodeStore();
    NodeStore(const NodeStore&) = delete;
    NodeStore& operator=(const NodeStore&) = delete;

    // Makes a node of element whose keyword has the given type. Its value is read from
    // text: a number converted (faults, when given, receive what the conversion found when
    // it found a fault, and are left alone otherwise), a text copied; a word keeps marked
    // (see CopyWord). Null when memory ran out (reported).
    CZelOid* Make(int element, int type, const char* text, size_t length, NumberFaults* faults, bool marked = false);

    // The keyword spellings of the nodes that keep the case they were read in.
    KeywordSpellings& Spellings() { return m_spellings; }
    // Keeps text as node's keyword spelling. False when memory ran out (reported).
    bool KeepSpelling(const CZelOid* node, const char* text, size_t length);

    // The comments read with the nodes, for a parser that keeps them.
    CommentTable& Comments() { return m_comments; }

    GoalTable& Goals() { return m_goals; }
    const GoalTable& Goals() const { return m_goals; }
    // True for a node of the owner parser.
    bool Owns(const CZelOid* node) const;

    // Releases first, its later siblings and all their subtrees; the store keeps them.
    void ReleaseChain(CZelOid* first);
    // Releases node and its subtree and takes it off the chain that holds it. False when
    // memory ran out for the search of its link (reported; nothing changed).
    bool ReleaseHead(CZelOid* node);
    // A node released by its owner goes out of the store's keeping (it is being deleted).
    void Forget(const CZelOid* node) { m_released.erase(node); }
    // Points every node of the goal trees from goal fromGoal on at its parent: a form links
    // its children when its content matched, so a failed parse leaves the children of the
    // forms that failed or were left open unlinked.
    void LinkParents(int fromGoal);
    // Keeps the top-level nodes from node on that are no goals, for deletion with the
    // released ones.
    void KeepOrphans(CZelOid* node);
    // Deletes every released and kept node.
    void DeleteReleased();
    // Destroys node and its subtree and takes it off its chain or the goal table.
    // False (nothing changed) when memory ran out for the search of its link.
    bool Delete(CZelOid* node);
    // Destroys every goal tree and empties the goal table.
    void DeleteAll();
    // Deletes first, its later siblings and all their subtrees as objects.
    static void DeleteChain(CZelOid* first);
    // Deletes node and its subtree as objects; node's own siblings are left alone.
    static void DeleteTree(CZelOid* node);
    // Finds the link (a parent's Clink or a sibling's Nlink) that holds node; null when
    // none does. False when memory ran out (reported).
    bool FindLink(const CZelOid* node, CZelOid**& link);

    // Statistics: when on, the bytes of the text values made are counted.
    void SetStatistics(bool on) { m_statistics = on; }
    int StringBytes() const { return m_stringBytes; }
    void SetStringBytes(int bytes) { m_stringBytes = bytes; }
    int SymbolCount() const { return m_symbolCount; }
    void ResetCounts() { m_stringBytes = m_symbolCount = 0; }
    int ReleasedCount() const { return static_cast<int>(m_released.size()); }

private:
    void Retain(CZelOid* node);
    CZelOid** FindLinkTo(const CZelOid* node);

    CZelParser& m_owner;
    Reporter& m_reporter;
    GoalTable m_goals;
    KeywordSpellings m_spellings;  // emptied by each node's FreeValue, before the store goes
    CommentTable m_comments;       // the same
    std::unordered_set<const CZelOid*> m_released;
    bool m_statistics = false;
    int m_stringBytes = 0;
    int m_symbolCount = 0;
};

}  // namespace zel

#endif
