// Node construction by keyword: appending a child anywhere the form's rule names the
// keyword, and inserting in front of a node where the grammar allows it exactly there.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "tree/node_access.h"
#include "zel/oid.h"
#include "zel/parser.h"

namespace {

// Gives a new node its value, or deletes it again when the value cannot be set. Returns
// the node, or null.
template <typename Value>
const CZelOid* SetNewValue(const CZelOid* node, Value value)
{
    if (node && node->ReplaceData(value) != 1) {
        node->GetParser()->DeleteObject(node, 1);
        return nullptr;
    }
    return node;
}

}  // namespace

// Finds the row of keyword in the rule that starts at start: a row of the rule itself,
// or an alternative of a composite named by the rule (one level deep). -1 when the rule
// ends (a row of keyword 1) first.
int CZelParser::FindAppendRow(int start, int keyword) const
{
    if (start < 0)
        return -1;
    for (int row = start; row < m_semRows; ++row) {
        const zelSemanticS& s = m_grammar.semTable[row];
        if (s.keywordId == 1)
            return -1;
        if (s.keywordId == keyword)
            return row;
        if (GetKeywordType(s.keywordId) == zelKW_COMPOSITE) {
            for (int member = GetKeywordSemanticId(s.keywordId); member > 0 && member < m_semRows; ++member) {
                if (m_grammar.semTable[member].keywordId == keyword)
                    return member;
                if (m_grammar.semTable[member].alt == 0)
                    break;
            }
        }
    }
    return -1;
}

CZelOid* CZelOid::AppendObject(int keyword, zelTokTyp valueType) const
{
    if (m_sem < 0 || !m_parser || !m_parser->UseGrammar())
        return nullptr;
    CZelParser& parser = *m_parser;
    if (keyword < 0 || keyword >= parser.m_grammar.kwCount || parser.GetKeywordType(keyword) != valueType)
        return nullptr;
    // Only a form holds children: a value or literal node takes none.
    if (GetObjType() != zelKW_FORM)
        return nullptr;
    const int row = parser.FindAppendRow(parser.GetSemanticHead(m_sem), keyword);
    if (row < 0)
        return nullptr;
    CZelOid* node = parser.AddObj(row);
    if (!node)
        return nullptr;
    node->Plink = const_cast<CZelOid*>(this);
    if (!Clink) {
        Clink = node;
    } else {
        CZelOid* last = Clink;
        while (last->Nlink)
            last = last->Nlink;
        last->Nlink = node;
    }
    return node;
}

CZelOid* CZelOid::InsertObject(int keyword, zelTokTyp valueType) const
{
    if (m_sem < 0 || !Plink || !m_parser || !m_parser->UseGrammar())
        return nullptr;
    CZelParser& parser = *m_parser;
    if (keyword < 0 || keyword >= parser.m_grammar.kwCount || !parser.AllocateStack())
        return nullptr;
    parser.ReinitParser();

    // Replay the siblings in front of this node, then find the new node's element and
    // check that this node may still follow it.
    if (!parser.StartRuleSearch(Plink->m_sem))
        return nullptr;
    for (const CZelOid* sibling = Plink->Clink; sibling && sibling != this; sibling = sibling->Nlink)
        if (!parser.BuildStack(sibling->m_sem))
            return nullptr;
    parser.SetTokenText(parser.m_grammar.kwTable[keyword].name);
    parser.m_tokType = valueType;
    const int element = parser.VerifySemantic();
    if (element < 0)
        return nullptr;
    parser.SetTokenText(GetKeyword());
    parser.m_tokType = GetObjType();
    if (parser.VerifySemantic() < 0)
        return nullptr;

    CZelOid* node = parser.AddObj(element);
    if (!node)
        return nullptr;
    CZelOid* prev = GetPrev();
    if (prev)
        prev->Nlink = node;
    else
        Plink->Clink = node;
    node->Nlink = const_cast<CZelOid*>(this);
    node->Plink = Plink;
    return node;
}

const CZelOid* CZelOid::AppForm(int keyword) const { return AppendObject(keyword, zelKW_FORM); }

const CZelOid* CZelOid::AppLiteral(int keyword) const { return AppendObject(keyword, zelKW_LIT); }

// Appends one text value of the given keyword, staged through the token buffer. A text
// that the writer cannot write back is refused.
const CZelOid* CZelOid::AppendText(int keyword, zelTokTyp type, const char* text) const
{
    if (!m_parser || !text || !m_parser->CanWriteText(type, text, std::strlen(text)))
        return nullptr;
    m_parser->SetTokenText(text);
    return AppendObject(keyword, type);
}

const CZelOid* CZelOid::AppIdent(const char* text) const { return AppendText(2, zelKW_IDENT, text); }

const CZelOid* CZelOid::AppStrtok(const char* text) const { return AppendText(5, zelKW_STRTOK, text); }

// Adds one node per text of list, from head to tail, with add (AppendText or
// InsertText): all of them or none. Every text is checked before the first node is made,
// and when a later node cannot be made the nodes made before it are deleted again. The
// nodes made stand next to each other in list order. Returns the first node, or null.
const CZelOid* CZelOid::AddTexts(AddOne add, int keyword, zelTokTyp type, CStringList& list) const
{
    if (!m_parser)
        return nullptr;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CString& text = list.GetNext(pos);
        if (!m_parser->CanWriteText(type, text, static_cast<size_t>(text.GetLength())))
            return nullptr;
    }
    const CZelOid* first = nullptr;
    int made = 0;
    for (POSITION pos = list.GetHeadPosition(); pos; ++made) {
        const CZelOid* node = (this->*add)(keyword, type, list.GetNext(pos));
        if (!node) {
            for (const CZelOid* undo = first; made > 0; --made) {
                const CZelOid* next = undo->Nlink;
                m_parser->DeleteObject(undo, 1);
                undo = next;
            }
            return nullptr;
        }
        if (!first)
            first = node;
    }
    return first;
}

const CZelOid* CZelOid::AppIdent(CStringList& list) const { return AddTexts(&CZelOid::AppendText, 2, zelKW_IDENT, list); }

const CZelOid* CZelOid::AppStrtok(CStringList& list) const
{
    return AddTexts(&CZelOid::AppendText, 5, zelKW_STRTOK, list);
}

// Appends a number node of keyword and type, built from a staged "0"; the caller sets
// its value.
const CZelOid* CZelOid::AppendNumber(int keyword, zelTokTyp type) const
{
    if (!m_parser)
        return nullptr;
    m_parser->SetTokenText("0");
    return AppendObject(keyword, type);
}

const CZelOid* CZelOid::AppInttok(int value) const { return SetNewValue(AppendNumber(3, zelKW_INTTOK), value); }

const CZelOid* CZelOid::AppInttok(const char* text) const
{
    bool outOfRange = false;
    return AppInttok(text ? zel::TextToInt(text, outOfRange) : 0);
}

const CZelOid* CZelOid::AppRealtok(double value) const
{
    if (!std::isfinite(value))
        return nullptr;
    return SetNewValue(AppendNumber(4, zelKW_REALTOK), value);
}

const CZelOid* CZelOid::AppRealtok(const char* text) const { return AppRealtok(text ? zel::TextToDouble(text) : 0.0); }

const CZelOid* CZelOid::InsForm(int keyword) const { return CZelParser::KeepIfReadsBack(InsertObject(keyword, zelKW_FORM)); }

const CZelOid* CZelOid::InsLiteral(int keyword) const
{
    return CZelParser::KeepIfReadsBack(InsertObject(keyword, zelKW_LIT));
}

// Inserts one text value; a text that the writer cannot write back is refused.
const CZelOid* CZelOid::InsertText(int keyword, zelTokTyp type, const char* text) const
{
    if (!m_parser || !text || !m_parser->CanWriteText(type, text, std::strlen(text)))
        return nullptr;
    return CZelParser::KeepIfReadsBack(SetNewValue(InsertObject(keyword, type), text));
}

const CZelOid* CZelOid::InsIdent(const char* text) const { return InsertText(2, zelKW_IDENT, text); }

const CZelOid* CZelOid::InsIdent(const CString& text) const { return InsertText(2, zelKW_IDENT, text); }

const CZelOid* CZelOid::InsIdent(CStringList& list) const { return AddTexts(&CZelOid::InsertText, 2, zelKW_IDENT, list); }

const CZelOid* CZelOid::InsStrtok(const char* text) const { return InsertText(5, zelKW_STRTOK, text); }

const CZelOid* CZelOid::InsStrtok(const CString& text) const { return InsertText(5, zelKW_STRTOK, text); }

const CZelOid* CZelOid::InsStrtok(CStringList& list) const { return AddTexts(&CZelOid::InsertText, 5, zelKW_STRTOK, list); }

const CZelOid* CZelOid::InsInttok(int value) const
{
    const CZelOid* node = InsertObject(3, zelKW_INTTOK);
    // Where only a real element takes the value, the node holds it as a real.
    if (node && node->GetObjType() == zelKW_REALTOK)
        return CZelParser::KeepIfReadsBack(SetNewValue(node, static_cast<double>(value)));
    return CZelParser::KeepIfReadsBack(SetNewValue(node, value));
}

const CZelOid* CZelOid::InsRealtok(double value) const
{
    if (!std::isfinite(value))
        return nullptr;
    return CZelParser::KeepIfReadsBack(SetNewValue(InsertObject(4, zelKW_REALTOK), value));
}
