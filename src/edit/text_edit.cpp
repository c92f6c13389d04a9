// Editing from text: objects written in the form language are parsed in place under an
// existing node, at the grammar position where the written file has them.
#include "edit/text_edit.h"

#include "core/grammar_tables.h"
#include "diag/reporter.h"
#include "lex/lexer.h"
#include "parse/form_parser.h"
#include "tree/node_fields.h"
#include "tree/node_store.h"

namespace zel {

// Reads text among the children of parent, in front of at (null: after the last child)
// and with skip left out, as the form parser reads the written file at that place, and
// links the nodes it makes there. The text is taken whole or not at all: it must parse
// without an error (value warnings are no errors), close every form it opens and be read
// to its end, and afterwards every child of parent and every form the text made must read
// back as itself (see ChildrenReadBack). No goal is recorded. Returns the first node made,
// or null; on failure every node the text made is deleted, the tree is as it was and the
// current object and the string byte count are as they were.
CZelOid* TextEdit::PlaceText(CZelOid* parent, CZelOid* at, const CZelOid* skip, const char* text)
{
    const bool needToken = m_engines.NeedToken();
    CZelOid* const current = m_engines.Current();
    const int stringBytes = m_store.StringBytes();
    m_lexer.Reset();
    m_reporter.Reset();
    m_stack.Clear();
    if (!m_grammar.EnsureKeywords(m_reporter))
        return nullptr;
    m_lexer.SetText(text);
    m_lexer.SetTextOnly(true);
    m_engines.SetRecordGoals(false);
    ChildReplay replay;
    replay.next = ChildOf(parent);
    replay.textAt = at;
    replay.skip = skip;
    replay.withText = true;
    const bool read = m_readBack.ReplayContent(parent, replay) && replay.textDone && m_reporter.Errors() == 0 &&
                      m_lexer.Depth() == 0;
    m_lexer.SetTextOnly(false);
    m_engines.SetRecordGoals(true);
    CZelOid** link = &ChildOf(parent);
    while (*link != at)
        link = &NextOf(*link);
    if (read && replay.first) {
        *link = replay.first;
        NextOf(replay.last) = at;
        for (CZelOid* node = replay.first; node != at; node = NextOf(node))
            ParentOf(node) = parent;
        if (m_readBack.ChildrenReadBack(parent, skip) && MadeFormsReadBack(replay.first, at)) {
            m_engines.SetNeedToken(needToken);
            return replay.first;
        }
        *link = at;
        NextOf(replay.last) = nullptr;
    }
    m_engines.SetNeedToken(needToken);
    NodeStore::DeleteChain(replay.first);
    m_engines.SetCurrent(current);
    m_store.SetStringBytes(stringBytes);
    return nullptr;
}

// True when the content of every form in the subtrees of the chain from first up to end
// reads back as itself. Walks the subtrees through their links, without recursion.
bool TextEdit::MadeFormsReadBack(const CZelOid* first, const CZelOid* end)
{
    for (const CZelOid* top = first; top != end; top = NextOf(top)) {
        const CZelOid* node = top;
        while (node) {
            if (m_grammar.ElementType(SemOf(node)) == zelKW_FORM && !m_readBack.ChildrenReadBack(node))
                return false;
            if (ChildOf(node)) {
                node = ChildOf(node);
                continue;
            }
            while (node != top && !NextOf(node))
                node = ParentOf(node);
            node = node == top ? nullptr : NextOf(node);
        }
    }
    return true;
}

const CZelOid* TextEdit::AddObject(const CZelOid* parent, const char* text)
{
    // Only a form of this parser has content to add to.
    if (!m_store.Owns(parent) || SemOf(parent) < 0 || !text || !m_grammar.Use(m_reporter) ||
        parent->GetObjType() != zelKW_FORM || !m_stack.Allocate())
        return nullptr;
    return PlaceText(const_cast<CZelOid*>(parent), nullptr, nullptr, text);
}

const CZelOid* TextEdit::PlaceLine(const CZelOid* node, CStringList* lines, bool replace)
{
    if (!lines || lines->IsEmpty() || !m_grammar.Use(m_reporter) || !m_store.Owns(node) || SemOf(node) < 0 ||
        !ParentOf(node) || !m_stack.Allocate())
        return nullptr;
    CZelOid* target = const_cast<CZelOid*>(node);
    CZelOid* parent = ParentOf(target);
    const CString line = lines->RemoveHead();
    // A node that is not on its parent's chain (a client's copy) has no place to insert at.
    if (line.IsEmpty() || parent->GetObjType() != zelKW_FORM || (!PrevOf(target) && ChildOf(parent) != target))
        return nullptr;
    const bool removes = replace && !(m_grammar.Row(SemOf(target)).semType & S_REQ);
    const CZelOid* first = PlaceText(parent, target, removes ? target : nullptr, line);
    if (first && removes)
        Remove(target);
    return first;
}

int TextEdit::Remove(const CZelOid* node)
{
    if (!m_store.Owns(node) || SemOf(node) < 0 || !m_grammar.Use(m_reporter) ||
        (m_grammar.Row(SemOf(node)).semType & S_REQ))
        return 0;
    return node->RemObject();
}

}  // namespace zel
