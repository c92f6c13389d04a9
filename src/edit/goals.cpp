// The goal table: the roots of the parsed trees.
#include "zel/oid.h"
#include "zel/parser.h"

const CZelOid* CZelParser::GetGoal(int* keyword) const
{
    if (m_goalCount == 0 || !m_goals[0] || m_goals[0]->m_sem < 0)
        return nullptr;
    if (keyword)
        *keyword = m_goals[0]->GetKeywordId();
    return m_goals[0];
}

const CZelOid* CZelParser::GetGoal(int keyword) const
{
    for (int i = 0; i < m_goalCount; ++i)
        if (m_goals[i] && m_goals[i]->GetKeywordId() == keyword)
            return m_goals[i];
    return nullptr;
}

int CZelParser::GetGoalCount() const { return m_goalCount; }

const CZelOid* CZelParser::GetGoalAt(int i) const
{
    if (i < 0 || i >= m_goalCount)
        return nullptr;
    return m_goals[i];
}

CZelOid* CZelParser::AddGoal(int keyword)
{
    if (!UseGrammar())
        return nullptr;
    // The goal alternatives are the rows from 1 on, chained by nonzero alt words.
    int element = 1;
    for (;; ++element) {
        if (element >= m_semRows)
            return nullptr;
        if (m_grammar.semTable[element].keywordId == keyword)
            break;
        if (m_grammar.semTable[element].alt == 0)
            return nullptr;
    }
    if (m_goalCount >= m_maxGoals - 1)
        return nullptr;
    CZelOid* node = AddObj(element);
    if (!node)
        return nullptr;
    m_goals[m_goalCount++] = node;
    return node;
}

CZelOid* CZelParser::SetGoal(int keyword)
{
    FullInit();
    return AddGoal(keyword);
}
