// The case-insensitive index of keyword names.
#include "core/name_index.h"

#include <cstring>

namespace zel {

namespace {

// ASCII letters folded to lower case, as strcasecmp folds them.
struct FoldTable {
    unsigned char lower[256];
    constexpr FoldTable() : lower()
    {
        for (int c = 0; c < 256; ++c)
            lower[c] = static_cast<unsigned char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
    }
};
constexpr FoldTable kFold{};

inline unsigned char Folded(char c) { return kFold.lower[static_cast<unsigned char>(c)]; }

// A hash of the folded first, middle and last characters and the length: constant work
// per token, and names that collide are told apart by the comparison that follows.
size_t Hash(const char* text, size_t length)
{
    if (length == 0)
        return 0;
    const size_t mix = (static_cast<size_t>(Folded(text[0])) << 24) ^ (static_cast<size_t>(Folded(text[length / 2])) << 16) ^
                       (static_cast<size_t>(Folded(text[length - 1])) << 8) ^ length;
    return (mix * 0x9E3779B97F4A7C15ULL) >> 32;
}

bool SameFolded(const char* a, const char* b, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (Folded(a[i]) != Folded(b[i]))
            return false;
    return true;
}

bool HasLetter(const char* name)
{
    for (; *name; ++name)
        if ((*name >= 'a' && *name <= 'z') || (*name >= 'A' && *name <= 'Z'))
            return true;
    return false;
}

}  // namespace

void NameIndex::Build(const zelKeywordS* rows, int count)
{
    m_rows = rows;
    m_canonical.assign(static_cast<size_t>(count), -1);
    m_indexKey.assign(static_cast<size_t>(count), 0);
    for (unsigned long long& shapes : m_keyShapes)
        shapes = 0;
    size_t capacity = 16;
    while (capacity < static_cast<size_t>(count) * 2)
        capacity *= 2;
    m_slots.assign(capacity, Slot());
    for (int k = 0; k < count; ++k) {
        const char* name = rows[k].name;
        const size_t length = strnlen(name, sizeof rows[k].name);
        int canonical = Find(name, length);
        if (canonical < 0) {
            canonical = k;
            size_t slot = Hash(name, length) & (m_slots.size() - 1);
            while (m_slots[slot].keyword >= 0)
                slot = (slot + 1) & (m_slots.size() - 1);
            m_slots[slot].keyword = k;
            m_slots[slot].length = static_cast<unsigned>(length);
        }
        m_canonical[static_cast<size_t>(k)] = canonical;
        if (rows[k].type == zelKW_LIT || !HasLetter(name)) {
            m_indexKey[static_cast<size_t>(canonical)] = 1;
            const unsigned char first = static_cast<unsigned char>(name[0] | 0x20);
            m_keyShapes[first] |= 1ULL << (length < 63 ? length : 63);
        }
    }
}

void NameIndex::Clear()
{
    for (unsigned long long& shapes : m_keyShapes)
        shapes = 0;
    m_canonical.clear();
    m_indexKey.clear();
    m_slots.clear();
}

int NameIndex::Find(const char* text, size_t length) const
{
    if (m_slots.empty())
        return -1;
    for (size_t slot = Hash(text, length) & (m_slots.size() - 1);; slot = (slot + 1) & (m_slots.size() - 1)) {
        const Slot& entry = m_slots[slot];
        if (entry.keyword < 0)
            return -1;
        if (entry.length == length && SameFolded(m_rows[entry.keyword].name, text, length))
            return entry.keyword;
    }
}

}  // namespace zel
