// The goal table's growth by keyword: a new root of the grammar's goal alternatives.
#ifndef ZEL_EDIT_GOALS_H
#define ZEL_EDIT_GOALS_H

class CZelOid;

namespace zel {

class GrammarTables;
class NodeStore;

// Makes a new goal for keyword and enters it in the store's goal table. Null when the
// keyword is no goal alternative, the table is full or memory ran out.
CZelOid* AddGoal(const GrammarTables& grammar, NodeStore& store, int keyword);

}  // namespace zel

#endif
