// Editing from text: objects written in the form language are parsed in place under an
// existing node, at the grammar position where the written file has them.
#include "core/allocation_guard.h"
#include "edit/read_back.h"
#include "zel/oid.h"
#include "zel/parser.h"

// Reads text among the children of parent, in front of at (null: after the last child)
// and with skip left out, as the form parser reads the written file at that place, and
// links the nodes it makes there. The text is taken whole or not at all: it must parse
// without an error (value warnings are no errors), close every form it opens and be read
// to its end, and afterwards every child of parent and every form the text made must read
// back as itself (see ChildrenReadBack). No goal is recorded. Returns the first node made,
// or null; on failure every node the text made is deleted, the tree is as it was and the
// current object and the string byte count are as they were.
CZelOid* CZelParser::PlaceText(CZelOid* parent, CZelOid* at, const CZelOid* skip, const char* text)
{
    const int needToken = m_needToken;
    CZelOid* const current = m_current;
    const int stringBytes = m_stringBytes;
    ReinitParser();
    if (m_keywords.GetCount() == 0 && !zel::GuardAllocation(*this, false, [&] { return LoadKeywords() == 1; }))
        return nullptr;
    SetLineText(text);
    m_fromText = true;
    m_recordGoals = false;
    zel::ChildReplay replay;
    replay.next = parent->Clink;
    replay.textAt = at;
    replay.skip = skip;
    replay.withText = true;
    const bool read = ReplayContent(parent, replay) && replay.textDone && m_errors == 0 && m_depth == 0;
    m_fromText = false;
    m_recordGoals = true;
    CZelOid** link = &parent->Clink;
    while (*link != at)
        link = &(*link)->Nlink;
    if (read && replay.first) {
        *link = replay.first;
        replay.last->Nlink = at;
        for (CZelOid* node = replay.first; node != at; node = node->Nlink)
            node->Plink = parent;
        if (ChildrenReadBack(parent, skip) && MadeFormsReadBack(replay.first, at)) {
            m_needToken = needToken;
            return replay.first;
        }
        *link = at;
        replay.last->Nlink = nullptr;
    }
    m_needToken = needToken;
    DeleteChain(replay.first);
    m_current = current;
    m_stringBytes = stringBytes;
    return nullptr;
}

// True when the content of every form in the subtrees of the chain from first up to end
// reads back as itself. Walks the subtrees through their links, without recursion.
bool CZelParser::MadeFormsReadBack(const CZelOid* first, const CZelOid* end)
{
    for (const CZelOid* top = first; top != end; top = top->Nlink) {
        const CZelOid* node = top;
        while (node) {
            if (GetSemanticKeywordType(node->m_sem) == zelKW_FORM && !ChildrenReadBack(node))
                return false;
            if (node->Clink) {
                node = node->Clink;
                continue;
            }
            while (node != top && !node->Nlink)
                node = node->Plink;
            node = node == top ? nullptr : node->Nlink;
        }
    }
    return true;
}

const CZelOid* CZelParser::AddObject(const CZelOid* parent, const char* text)
{
    // Only a form of this parser has content to add to.
    if (!IsOwnNode(parent) || parent->m_sem < 0 || !text || !UseGrammar() || parent->GetObjType() != zelKW_FORM ||
        !AllocateStack())
        return nullptr;
    return PlaceText(const_cast<CZelOid*>(parent), nullptr, nullptr, text);
}

const CZelOid* CZelParser::AddChildObject(const CZelOid* parent, CStringList* lines)
{
    if (!lines || lines->IsEmpty())
        return nullptr;
    const CString line = lines->RemoveHead();
    return AddObject(parent, line);
}

// Reads the first line of lines in front of node; with replace, node itself is left out
// of its parent's children unless its element is required, and on success removed.
const CZelOid* CZelParser::PlaceLine(const CZelOid* node, CStringList* lines, bool replace)
{
    if (!lines || lines->IsEmpty() || !UseGrammar() || !IsOwnNode(node) || node->m_sem < 0 || !node->Plink ||
        !AllocateStack())
        return nullptr;
    CZelOid* target = const_cast<CZelOid*>(node);
    CZelOid* parent = target->Plink;
    const CString line = lines->RemoveHead();
    // A node that is not on its parent's chain (a client's copy) has no place to insert at.
    if (line.IsEmpty() || parent->GetObjType() != zelKW_FORM || (!target->GetPrev() && parent->Clink != target))
        return nullptr;
    const bool removes = replace && !(m_grammar.semTable[target->m_sem].semType & S_REQ);
    const CZelOid* first = PlaceText(parent, target, removes ? target : nullptr, line);
    if (first && removes)
        RemObject(target);
    return first;
}

const CZelOid* CZelParser::InsObject(const CZelOid* node, CStringList* lines) { return PlaceLine(node, lines, false); }

const CZelOid* CZelParser::ReplaceObject(const CZelOid* node, CStringList* lines) { return PlaceLine(node, lines, true); }

int CZelParser::RemObject(const CZelOid* node)
{
    if (!IsOwnNode(node) || node->m_sem < 0 || !UseGrammar() || (m_grammar.semTable[node->m_sem].semType & S_REQ))
        return 0;
    return node->Remove(1);
}
