// The case-insensitive index of keyword names.
#include "core/name_index.h"

#include <cstring>
#include <strings.h>

namespace zel {

namespace {

char Folded(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

size_t Hash(const char* text, size_t length)
{
    size_t hash = 1469598103934665603ULL;
    for (size_t i = 0; i < length; ++i)
        hash = (hash ^ static_cast<unsigned char>(Folded(text[i]))) * 1099511628211ULL;
    return hash;
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
    size_t capacity = 16;
    while (capacity < static_cast<size_t>(count) * 2)
        capacity *= 2;
    m_slots.assign(capacity, -1);
    for (int k = 0; k < count; ++k) {
        const char* name = rows[k].name;
        const size_t length = strnlen(name, sizeof rows[k].name);
        int canonical = Find(name, length);
        if (canonical < 0) {
            canonical = k;
            size_t slot = Hash(name, length) & (m_slots.size() - 1);
            while (m_slots[slot] >= 0)
                slot = (slot + 1) & (m_slots.size() - 1);
            m_slots[slot] = k;
        }
        m_canonical[static_cast<size_t>(k)] = canonical;
        if (rows[k].type == zelKW_LIT || !HasLetter(name))
            m_indexKey[static_cast<size_t>(canonical)] = 1;
    }
}

void NameIndex::Clear()
{
    m_canonical.clear();
    m_indexKey.clear();
    m_slots.clear();
}

int NameIndex::Find(const char* text, size_t length) const
{
    if (m_slots.empty())
        return -1;
    for (size_t slot = Hash(text, length) & (m_slots.size() - 1);; slot = (slot + 1) & (m_slots.size() - 1)) {
        const int k = m_slots[slot];
        if (k < 0)
            return -1;
        const char* name = m_rows[k].name;
        if (strnlen(name, sizeof m_rows[k].name) == length && strncasecmp(name, text, length) == 0)
            return k;
    }
}

}  // namespace zel
