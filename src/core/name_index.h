// Keyword names looked up without regard to letter case, as the form parser compares
// them: one hash of the token instead of one comparison per element tried.
#ifndef ZEL_CORE_NAME_INDEX_H
#define ZEL_CORE_NAME_INDEX_H

#include <cstddef>
#include <vector>

#include "zel/grammar.h"

namespace zel {

class NameIndex {
public:
    // Indexes the names of the keyword rows.
    void Build(const zelKeywordS* rows, int count);
    void Clear();
    bool Empty() const { return m_canonical.empty(); }
    // The first keyword whose name equals keyword k's in any letter case.
    int CanonicalOf(int k) const { return m_canonical[static_cast<size_t>(k)]; }
    // The first keyword whose name equals text in any letter case, or -1.
    int Find(const char* text, size_t length) const;
    // True when text of that name, in upper case, is a key of the keyword index: the
    // name of a literal keyword, or a name without letters.
    bool IsIndexKey(int canonical) const { return m_indexKey[static_cast<size_t>(canonical)] != 0; }
    // False when no key of the keyword index can be text: a quick test on its first
    // character and its length before any hashing.
    bool MayBeIndexKey(const char* text, size_t length) const
    {
        const unsigned char first = static_cast<unsigned char>(text[0] | 0x20);
        return m_keyShapes[first] & (1ULL << (length < 63 ? length : 63));
    }

private:
    const zelKeywordS* m_rows = nullptr;
    std::vector<int> m_canonical;
    std::vector<unsigned char> m_indexKey;
    unsigned long long m_keyShapes[256] = {};  // by folded first character: bit per length
    struct Slot {
        int keyword = -1;  // canonical keyword id; -1 for an empty slot
        unsigned length = 0;
    };
    std::vector<Slot> m_slots;  // open addressing
};

}  // namespace zel

#endif
