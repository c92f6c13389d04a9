// The goal table: the roots of a parser's trees, in the order they were made.
#ifndef ZEL_TREE_GOAL_TABLE_H
#define ZEL_TREE_GOAL_TABLE_H

class CZelOid;

namespace zel {

class GoalTable {
public:
    enum { kMaxGoals = 16 };

    // maxGoals entries at most, clipped to 0..kMaxGoals.
    explicit GoalTable(int maxGoals) : m_max(maxGoals < 0 ? 0 : (maxGoals > kMaxGoals ? kMaxGoals : maxGoals)) {}

    int Count() const { return m_count; }
    int Max() const { return m_max; }
    // Goal i; null when i is out of range.
    CZelOid* At(int i) const { return i >= 0 && i < m_count ? m_goals[i] : nullptr; }
    bool Contains(const CZelOid* node) const
    {
        for (int i = 0; i < m_count; ++i)
            if (m_goals[i] == node)
                return true;
        return false;
    }
    // Appends a goal; false when the table holds maxGoals entries.
    bool Add(CZelOid* node)
    {
        if (m_count >= m_max)
            return false;
        m_goals[m_count++] = node;
        return true;
    }
    // Takes node out, keeping the order of the others; false when it is no goal.
    bool Drop(const CZelOid* node)
    {
        for (int i = 0; i < m_count; ++i) {
            if (m_goals[i] == node) {
                for (int j = i + 1; j < m_count; ++j)
                    m_goals[j - 1] = m_goals[j];
                m_goals[--m_count] = nullptr;
                return true;
            }
        }
        return false;
    }
    // Empties the table and gives its entries to out (room for kMaxGoals); returns their number.
    int TakeAll(CZelOid** out)
    {
        const int count = m_count;
        for (int i = 0; i < count; ++i) {
            out[i] = m_goals[i];
            m_goals[i] = nullptr;
        }
        m_count = 0;
        return count;
    }

private:
    int m_max;
    int m_count = 0;
    CZelOid* m_goals[kMaxGoals] = {};
};

}  // namespace zel

#endif
