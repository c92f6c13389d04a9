// The list writer: the writer's text as a list of strings, one per form head, value
// and closing parenthesis.
#include "output/writer.h"

#include "core/grammar_tables.h"
#include "output/tree_walk.h"

namespace zel {

int Writer::WriteList(const CZelOid* node, int level, CStringList* list)
{
    return WriteTreeList(*list, node, level, {&m_grammar.Tables(), m_settings, m_spellings, m_comments});
}

}  // namespace zel
