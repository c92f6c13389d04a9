// Editing from text: objects written in the form language are parsed in place under an
// existing node, with the grammar position taken from the parent's rule.
#include "parse/level_steps.h"
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

// True when the parse that yielded result used up the text in the line buffer: the
// tokenizer has reached its end, or the next token it cuts is the end. A stop before the
// end leaves text over: a token the tokenizer could not finish, or a skipped form.
bool CZelParser::TextUsedUp(int result)
{
    if (m_inputEnded)
        return true;
    // A token the engine did not take is left over.
    if (result == zel::kStop || !m_needToken)
        return false;
    return Gettok() != 1 && m_inputEnded;
}

// Parses text from element sem into the empty link *slot; no goal is recorded. The text
// is taken whole or not at all: it must parse without an error (value warnings are no
// errors), close every form it opens and leave no token over. Returns the first node made,
// or null; on failure every node the text made is deleted, *slot is null again and the
// current object and the string byte count are as they were.
CZelOid* CZelParser::ParseText(const char* text, int sem, CZelOid** slot)
{
    const int needToken = m_needToken;
    CZelOid* const current = m_current;
    const int stringBytes = m_stringBytes;
    ReinitParser();
    if (m_keywords.GetCount() == 0)
        LoadKeywords();
    SetLineText(text);
    m_fromText = true;
    m_recordGoals = false;
    m_needToken = 1;  // the first token is read from this text
    // The engine links nodes behind the current object; only nodes of this text may be.
    m_current = nullptr;
    const int depth = m_depth;
    bool parsed = false;
    if (PushStack(sem, slot, 0)) {
        const int r = ParseFile();
        parsed = r != zel::kInternal && m_errors == 0 && m_depth == depth && TextUsedUp(r);
    }
    m_fromText = false;
    m_recordGoals = true;
    m_needToken = needToken;
    if (parsed)
        return *slot;
    DeleteChain(*slot);
    *slot = nullptr;
    m_current = current;
    m_stringBytes = stringBytes;
    return nullptr;
}

const CZelOid* CZelParser::AddObject(const CZelOid* parent, const char* text)
{
    // Only a form of this parser has content to add to.
    if (!IsOwnNode(parent) || parent->m_sem < 0 || !text || !UseGrammar() || parent->GetObjType() != zelKW_FORM ||
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
    CZelOid* first = ParseText(text, start, last ? &last->Nlink : &owner->Clink);
    // Every node the text made at this level is a child of parent.
    for (CZelOid* node = first; node; node = node->Nlink)
        node->Plink = owner;
    return first;
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
    if (!lines || lines->IsEmpty() || !UseGrammar() || !IsOwnNode(node) || node->m_sem < 0 || !node->Plink ||
        !AllocateStack())
        return nullptr;
    CZelOid* target = const_cast<CZelOid*>(node);
    CZelOid* parent = target->Plink;
    CZelOid* prev = target->GetPrev();
    const int head = GetSemanticHead(parent->m_sem);
    const int start = prev ? StartElementForAppend(head) : head;
    const CString line = lines->RemoveHead();
    // A node that is not on its parent's chain (a client's copy) has no place to insert at.
    if (start <= 0 || line.IsEmpty() || parent->GetObjType() != zelKW_FORM || (!prev && parent->Clink != target))
        return nullptr;
    CZelOid** slot = prev ? &prev->Nlink : &parent->Clink;

    // Target and the siblings after it are taken off the chain while the text is
    // parsed, and linked behind the new nodes once it has parsed.
    *slot = nullptr;
    CZelOid* first = ParseText(line, start, slot);
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
    if (!IsOwnNode(node) || node->m_sem < 0 || !UseGrammar() || (m_grammar.semTable[node->m_sem].semType & S_REQ))
        return 0;
    return node->Remove(1);
}
