// The spellings of form and literal keywords that were read in a letter case other than the
// grammar's, kept beside the nodes so that the node record does not grow. Only a parser with
// zelLEX_KEEP_KEYWORD_CASE enters any; a node's entry goes when its value is freed.
#ifndef ZEL_TREE_KEYWORD_SPELLINGS_H
#define ZEL_TREE_KEYWORD_SPELLINGS_H

#include <cstddef>
#include <string>
#include <unordered_map>

class CZelOid;

namespace zel {

class KeywordSpellings {
public:
    // Keeps text as node's keyword spelling. False when memory ran out (nothing kept).
    bool Keep(const CZelOid* node, const char* text, size_t length);
    // Gives copy the spelling of original, if it has one. False when memory ran out.
    bool Copy(const CZelOid* original, const CZelOid* copy);
    // The spelling of node; null when it is written with the grammar's name.
    const char* Of(const CZelOid* node) const
    {
        if (m_spellings.empty())
            return nullptr;
        const auto found = m_spellings.find(node);
        return found == m_spellings.end() ? nullptr : found->second.c_str();
    }
    void Forget(const CZelOid* node)
    {
        if (!m_spellings.empty())
            m_spellings.erase(node);
    }
    bool Empty() const { return m_spellings.empty(); }
    size_t Count() const { return m_spellings.size(); }

private:
    std::unordered_map<const CZelOid*, std::string> m_spellings;
};

}  // namespace zel

#endif
