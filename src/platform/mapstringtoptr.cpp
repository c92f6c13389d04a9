// CMapStringToPtr: a hash map from exact text to pointer.
#include <new>

#include "zel/platform.h"

CMapStringToPtr::CMapStringToPtr(int blockSize)
{
    // The block size is a hint: without memory for it the map grows on first use.
    try {
        if (blockSize > 0)
            m_map.reserve(static_cast<size_t>(blockSize));
    } catch (const std::bad_alloc&) {
    }
}

CMapStringToPtr::~CMapStringToPtr() = default;

void*& CMapStringToPtr::operator[](const char* key) { return m_map[key ? key : ""]; }

bool CMapStringToPtr::Lookup(const char* key, void*& value) const
{
    auto it = m_map.find(key ? key : "");
    if (it == m_map.end())
        return false;
    value = it->second;
    return true;
}

bool CMapStringToPtr::RemoveKey(const char* key) { return m_map.erase(key ? key : "") > 0; }

int CMapStringToPtr::RemoveValue(void* value)
{
    int removed = 0;
    for (auto it = m_map.begin(); it != m_map.end();) {
        if (it->second == value) {
            it = m_map.erase(it);
            ++removed;
        } else {
            ++it;
        }
    }
    return removed;
}

void CMapStringToPtr::RemoveAll() { m_map.clear(); }

int CMapStringToPtr::GetCount() const { return static_cast<int>(m_map.size()); }
