// Editing from text: objects written in the form language are parsed in place under an
// existing node, with the grammar position taken from the parent's rule.
#include "parse/stack.h"
#include "zel/oid.h"
#include "zel/parser.h"

// The first element of head's rule that is not required: required elements are taken
// to be present already. -1 when the rule has none before its end.
int CZelParser::StartElementForAppend(int head) const
{
    int element = head;
    while (element > 0 && element < m_semRows && m_grammar.semTable[element].keywordId != 1 &&
           (m_grammar.semTable[element].semType & S_REQ))
        element = m_grammar.semTable[element].next;
    return element <= 1 ? -1 : element;
}

// Parses text from element sem, storing the first node through slot. The text is the
// whole input; no goal is recorded. Returns true when the parse succeeded: the engine
// matched, or it stopped at the end of the text.
bool CZelParser::ParseText(const char* text, int sem, CZelOid** slot)
{
    const int needToken = m_needToken;
    ReinitParser();
    if (m_keywords.GetCount() == 0)
        LoadKeywords();
    SetLineText(text);
    m_fromText = true;
    m_recordGoals = false;
    m_needToken = 1;  // the first token is read from this text
    bool parsed = false;
    if (PushStack(sem, slot, 0)) {
        const int r = ParseFile();
        parsed = r == 0 || m_tokType == zelKW_EOFILE;
    }
    m_fromText = false;
    m_recordGoals = true;
    m_needToken = needToken;
    return parsed;
}

const CZelOid* CZelParser::AddObject(const CZelOid* parent, const char* text)
{
    // Only a form has content to add to.
    if (!parent || parent->m_sem < 0 || !text || !UseGrammar() || parent->GetObjType() != zelKW_FORM ||
        !AllocateStack())
        return nullptr;
    CZelOid* owner = const_cast<CZelOid*>(parent);
    CZelOid* last = owner->Clink;
    while (last && last->Nlink)
        last = last->Nlink;
    const int head = GetSemanticHead(owner->m_sem);
    const int start = last ? StartElementForAppend(head) : head;
    if (start <= 0)
        return nullptr;
    CZelOid** slot = last ? &last->Nlink : &owner->Clink;
    const bool parsed = ParseText(text, start, slot);
    // Every node the text made at this level is a child of parent, also the nodes made
    // before a failure, which stay in the tree.
    for (CZelOid* node = *slot; node; node = node->Nlink)
        node->Plink = owner;
    return parsed ? *slot : nullptr;
}

const CZelOid* CZelParser::AddChildObject(const CZelOid* parent, CStringList* lines)
{
    if (!lines || lines->IsEmpty())
        return nullptr;
    const CString line = lines->RemoveHead();
    return AddObject(parent, line);
}

const CZelOid* CZelParser::InsObject(const CZelOid* node, CStringList* lines)
{
    if (!lines || lines->IsEmpty() || !UseGrammar() || !node || node->m_sem < 0 || !node->Plink ||
        !AllocateStack())
        return nullptr;
    CZelOid* target = const_cast<CZelOid*>(node);
    CZelOid* parent = target->Plink;
    CZelOid* prev = target->GetPrev();
    const int head = GetSemanticHead(parent->m_sem);
    const int start = prev ? StartElementForAppend(head) : head;
    const CString line = lines->RemoveHead();
    if (start <= 0 || line.IsEmpty() || parent->GetObjType() != zelKW_FORM)
        return nullptr;
    CZelOid** slot = prev ? &prev->Nlink : &parent->Clink;

    // Target and the siblings after it are taken off the chain while the text is
    // parsed, and linked behind the new nodes once it has parsed.
    *slot = nullptr;
    const bool parsed = ParseText(line, start, slot);
    CZelOid* first = *slot;
    if (!parsed) {
        // The tree is restored: target goes back on the chain, the new nodes go.
        *slot = target;
        if (first) {
            CZelOid* doomed = first;
            while (doomed) {
                CZelOid* after = doomed->Nlink;
                doomed->Nlink = nullptr;
                DeleteTree(doomed);
                doomed = after;
            }
        }
        m_current = nullptr;
        return nullptr;
    }
    if (!first) {
        *slot = target;
        return nullptr;
    }
    CZelOid* last = first;
    while (last->Nlink)
        last = last->Nlink;
    last->Nlink = target;
    for (CZelOid* child = parent->Clink; child; child = child->Nlink)
        child->Plink = parent;
    return first;
}

const CZelOid* CZelParser::ReplaceObject(const CZelOid* node, CStringList* lines)
{
    const CZelOid* first = InsObject(node, lines);
    if (first)
        RemObject(node);
    return first;
}

int CZelParser::RemObject(const CZelOid* node)
{
    if (!node || node->m_sem < 0 || !UseGrammar() || (m_grammar.semTable[node->m_sem].semType & S_REQ))
        return 0;
    return node->Remove(1);
}
