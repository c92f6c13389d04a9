// CStringList: a singly linked list of owned texts.
#include "zel/platform.h"

struct CStringListNode {
    CString text;
    CStringListNode* next;
};

namespace {
const CString kEmpty;
}

CStringList::CStringList() : m_head(nullptr), m_tail(nullptr), m_count(0) {}

CStringList::~CStringList() { RemoveAll(); }

POSITION CStringList::AddTail(const char* text)
{
    CStringListNode* node = new CStringListNode{CString(text), nullptr};
    if (m_tail)
        m_tail->next = node;
    else
        m_head = node;
    m_tail = node;
    ++m_count;
    return node;
}

POSITION CStringList::AddTail(const CString& text) { return AddTail(static_cast<const char*>(text)); }

CString CStringList::RemoveHead()
{
    if (!m_head)
        return CString();
    CStringListNode* node = m_head;
    CString text = node->text;
    m_head = node->next;
    if (!m_head)
        m_tail = nullptr;
    --m_count;
    delete node;
    return text;
}

const CString& CStringList::GetHead() const { return m_head ? m_head->text : kEmpty; }

int CStringList::GetCount() const { return m_count; }

bool CStringList::IsEmpty() const { return m_count == 0; }

POSITION CStringList::GetHeadPosition() const { return m_head; }

const CString& CStringList::GetNext(POSITION& pos) const
{
    if (!pos)
        return kEmpty;
    const CString& text = pos->text;
    pos = pos->next;
    return text;
}

void CStringList::RemoveAll()
{
    while (m_head) {
        CStringListNode* next = m_head->next;
        delete m_head;
        m_head = next;
    }
    m_tail = nullptr;
    m_count = 0;
}
