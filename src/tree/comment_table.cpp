// The side table of the comments kept with the nodes.
#include "tree/comment_table.h"

#include <new>

namespace zel {

bool CommentTable::Add(const CZelOid* node, CommentPlace place, bool ownLine, const std::string& text)
{
    try {
        m_comments[node].push_back(NodeComment{text, place, ownLine});
        return true;
    } catch (const std::bad_alloc&) {
        const auto found = m_comments.find(node);
        if (found != m_comments.end() && found->second.empty())
            m_comments.erase(found);
        return false;
    }
}

size_t CommentTable::Clear()
{
    const size_t count = Count();
    m_comments.clear();
    return count;
}

size_t CommentTable::Count() const
{
    size_t count = 0;
    for (const auto& entry : m_comments)
        count += entry.second.size();
    return count;
}

}  // namespace zel
