// Editing from text: objects written in the form language are parsed in place under an
// existing node, at the grammar position where the written file has them.
#ifndef ZEL_EDIT_TEXT_EDIT_H
#define ZEL_EDIT_TEXT_EDIT_H

#include "edit/read_back.h"
#include "zel/platform.h"

class CZelOid;

namespace zel {

class NodeStore;

class TextEdit {
public:
    TextEdit(GrammarTables& grammar, Lexer& lexer, ParseStack& stack, FormParser& engines, NodeStore& store,
             Reporter& reporter)
        : m_grammar(grammar),
          m_lexer(lexer),
          m_stack(stack),
          m_engines(engines),
          m_store(store),
          m_reporter(reporter),
          m_readBack(grammar, lexer, stack, engines, reporter)
    {
    }

    // Parses text after parent's last child. Returns the first node made, or null (tree unchanged).
    const CZelOid* AddObject(const CZelOid* parent, const char* text);
    // Parses the first line of lines (taken out of it) in front of node; with replace,
    // node is then removed unless required. Returns the first new node, or null.
    const CZelOid* PlaceLine(const CZelOid* node, CStringList* lines, bool replace);
    // Removes node and its subtree unless its element is required. Returns 1, or 0 when refused.
    int Remove(const CZelOid* node);

private:
    CZelOid* PlaceText(CZelOid* parent, CZelOid* at, const CZelOid* skip, const char* text);
    bool MadeFormsReadBack(const CZelOid* first, const CZelOid* end);

    GrammarTables& m_grammar;
    Lexer& m_lexer;
    ParseStack& m_stack;
    FormParser& m_engines;
    NodeStore& m_store;
    Reporter& m_reporter;
    ReadBack m_readBack;
};

}  // namespace zel

#endif
