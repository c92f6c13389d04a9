// The growable character buffer of the line reader and the tokenizer: it starts in a fixed
// array inside its owner, so that ordinary lines and tokens cost no allocation, and moves
// to a heap block when it must hold more, up to a limit.
#ifndef ZEL_LEX_TEXT_BUFFER_H
#define ZEL_LEX_TEXT_BUFFER_H

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace zel {

template <size_t FixedSize>
class TextBuffer {
public:
    TextBuffer() { m_fixed[0] = '\0'; }
    ~TextBuffer()
    {
        if (m_data != m_fixed)
            std::free(m_data);
    }
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    char* Data() const { return m_data; }
    size_t Capacity() const { return m_capacity; }

    // Grows to hold at least needed characters, keeping the first keep: the capacity
    // doubles until it does, and stays at most limit. False, with nothing changed, when
    // needed passes limit or memory ran out.
    bool Grow(size_t needed, size_t limit, size_t keep)
    {
        if (needed <= m_capacity)
            return true;
        if (needed > limit)
            return false;
        size_t capacity = m_capacity;
        while (capacity < needed)
            capacity *= 2;
        capacity = std::min(capacity, limit);
        const bool fixed = m_data == m_fixed;
        char* block = static_cast<char*>(fixed ? std::malloc(capacity) : std::realloc(m_data, capacity));
        if (!block)
            return false;
        if (fixed)
            std::memcpy(block, m_fixed, keep);
        m_data = block;
        m_capacity = capacity;
        return true;
    }

private:
    char* m_data = m_fixed;
    size_t m_capacity = FixedSize;
    char m_fixed[FixedSize];
};

}  // namespace zel

#endif
