// The goal table's growth by keyword.
#include "edit/goals.h"

#include "core/conventions.h"
#include "core/grammar_tables.h"
#include "tree/node_store.h"

namespace zel {

CZelOid* AddGoal(const GrammarTables& grammar, NodeStore& store, int keyword)
{
    // The goal alternatives are the rows from the first goal row on, chained by nonzero alt words.
    int element = kFirstGoalRow;
    for (;; ++element) {
        if (element >= grammar.RowCount())
            return nullptr;
        if (grammar.Row(element).keywordId == keyword)
            break;
        if (grammar.Row(element).alt == kNoLink)
            return nullptr;
    }
    GoalTable& goals = store.Goals();
    if (goals.Count() >= goals.Max() - 1)
        return nullptr;
    CZelOid* node = store.Make(element, grammar.ElementType(element), "", 0, nullptr);
    if (node)
        goals.Add(node);
    return node;
}

}  // namespace zel
