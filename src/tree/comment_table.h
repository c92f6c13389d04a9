// The comments read with the nodes, kept beside them so that the node record does not
// grow. Only a parser that keeps comments enters any; a node's comments go when its value
// is freed (release, deletion, destruction).
#ifndef ZEL_TREE_COMMENT_TABLE_H
#define ZEL_TREE_COMMENT_TABLE_H

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

class CZelOid;

namespace zel {

// Where a comment stands, seen from the node that holds it.
enum CommentPlace : unsigned char {
    kCommentBefore,      // on lines of its own in front of the node
    kCommentAfterHead,   // behind a form's head, on the head's line
    kCommentBeforeClose, // on lines of its own in front of a form's ")"
    kCommentAfter,       // behind the node's end (its value or its ")")
};

struct NodeComment {
    std::string text;    // without the comment marks, the blank after them and the line end
    CommentPlace place;
    bool ownLine;        // stood on a line of its own in the input
};

using NodeComments = std::vector<NodeComment>;

class CommentTable {
public:
    // Adds a comment to node's, behind those it holds. False when memory ran out (nothing added).
    bool Add(const CZelOid* node, CommentPlace place, bool ownLine, const std::string& text);
    // The comments of node in reading order; null when it holds none.
    const NodeComments* Of(const CZelOid* node) const
    {
        if (m_comments.empty())
            return nullptr;
        const auto found = m_comments.find(node);
        return found == m_comments.end() ? nullptr : &found->second;
    }
    void Forget(const CZelOid* node)
    {
        if (!m_comments.empty())
            m_comments.erase(node);
    }
    // Drops every comment; returns how many there were.
    size_t Clear();
    bool Empty() const { return m_comments.empty(); }
    // The number of comments held.
    size_t Count() const;

private:
    std::unordered_map<const CZelOid*, NodeComments> m_comments;
};

}  // namespace zel

#endif
