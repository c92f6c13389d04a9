// The parse stack: one entry per open level of the form parser or of a grammar search.
// Push and pop are inline for the engines' inner loops. A push may move the entries (a
// growing stack), so nobody holds a reference to an entry across a push.
#ifndef ZEL_PARSE_STACK_H
#define ZEL_PARSE_STACK_H

#include "core/conventions.h"

class CZelOid;

namespace zel {

class Reporter;

// One entry: a grammar element and the link that receives its node.
struct StackEntry {
    int sem;         // semantic index of the element
    CZelOid** slot;  // link through which the node matched for this entry is stored
    short status;    // 1 = not matched yet, 0 = matched
    short resume;    // where the iterative engine continues after this entry finishes
};

class ParseStack {
public:
    // capacity entries (negative: none); overflow and underflow go to reporter.
    ParseStack(Reporter& reporter, int capacity);
    ~ParseStack();
    ParseStack(const ParseStack&) = delete;
    ParseStack& operator=(const ParseStack&) = delete;

    // Allocates the entries when there are none; false when that fails.
    bool Allocate();
    // Frees the entries (a line-list parse does this at its end).
    void Free();
    bool Allocated() const { return m_entries != nullptr; }
    // When on, a full stack doubles instead of overflowing.
    void SetGrowth(bool on) { m_growth = on; }

    // Pushes an entry, not yet matched. Returns 1, or 0 on overflow (reported).
    __attribute__((always_inline)) int Push(int sem, CZelOid** slot, short resume)
    {
        ++m_top;
        if ((m_top >= m_capacity || !m_entries) && !Overflow())
            return 0;
        if (m_top > m_high)
            m_high = m_top;
        StackEntry& entry = m_entries[m_top];
        entry.sem = sem;
        entry.slot = slot;
        entry.status = 1;
        entry.resume = resume;
        return 1;
    }
    // Pops the top entry. Returns 0, or 1 on underflow (error state set).
    __attribute__((always_inline)) int Pop()
    {
        if (--m_top < 0) {
            Underflow();
            return 1;
        }
        return 0;
    }

    StackEntry& Top() { return m_entries[m_top]; }
    StackEntry& At(int i) { return m_entries[i]; }
    const StackEntry& At(int i) const { return m_entries[i]; }
    // Index of the top entry; -1 when empty.
    int TopIndex() const { return m_top; }
    void Clear() { m_top = -1; }
    // The deepest index reached since the last ResetHigh.
    int High() const { return m_high; }
    void ResetHigh() { m_high = 0; }

private:
    int Overflow();
    void Underflow();
    bool Grow();

    Reporter& m_reporter;
    StackEntry* m_entries = nullptr;
    int m_capacity;
    int m_top = -1;
    int m_high = 0;
    bool m_growth = false;
};

}  // namespace zel

#endif
