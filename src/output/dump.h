// Debug dumps: a node's labelled block and the run statistics.
#ifndef ZEL_OUTPUT_DUMP_H
#define ZEL_OUTPUT_DUMP_H

class CZelOid;
class CZelParser;

namespace zel {

// Prints node's fields to standard output; "(not in use)" for a free node or without tables.
void PrintNode(const CZelOid* node, bool hasGrammar);
// Writes the run statistics through hooks' WriteMsg.
void PrintStatistics(CZelParser& hooks, int lines, int tokens, int stackHigh, int stringBytes, int symbols);

}  // namespace zel

#endif
