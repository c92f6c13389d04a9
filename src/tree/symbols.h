// Symbol maps on form nodes, and the marking of hashed rows in the grammar.
#ifndef ZEL_TREE_SYMBOLS_H
#define ZEL_TREE_SYMBOLS_H

class CZelOid;

namespace zel {

class GrammarTables;
class Reporter;

// Scans the rule of keyword from its first row for the row of member; the scan also
// stops at a row whose flag word is exactly S_REQ. Returns the row where it stopped, or
// -1 when it ran off the table (or there are no tables).
int FindMemberRow(const GrammarTables& grammar, int keyword, int member);
// True when member's row in keyword's rule is marked for hashing.
bool IsHashedMember(const GrammarTables& grammar, int keyword, int member);
// Enters node under name in its parent form's symbol map (made on first use; node's row
// is marked for hashing then). Memory failures are reported; trace prints the name.
void StoreSymbol(GrammarTables& grammar, Reporter& reporter, bool trace, const CZelOid* node, const char* name);
// Takes node out of its form's symbol map before the node goes.
void ForgetSymbol(const CZelOid* node);
// Stores proc on member's row of keyword's rule, and marks the row for hashing when
// hashed. Returns 0, or 8 when the rule has no such member.
int RegisterMember(GrammarTables& grammar, int keyword, int member, char* (*proc)(void), bool hashed);

}  // namespace zel

#endif
