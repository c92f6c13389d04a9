// Node construction by keyword: appending a child anywhere the form's rule names the
// keyword, and inserting in front of a node where the grammar allows it exactly there.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "core/conventions.h"
#include "core/parser_access.h"
#include "edit/read_back.h"
#include "output/writer.h"
#include "lex/number_text.h"
#include "parse/grammar_search.h"
#include "tree/node_access.h"
#include "tree/node_fields.h"
#include "zel/oid.h"

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

// Appends a node of keyword, whose type must be valueType, with its value read from text.
CZelOid* CZelOid::AppendObject(int keyword, zelTokTyp valueType, const char* text) const
{
    if (m_sem < 0 || !zel::ParserAccess::Ready(m_parser))
        return nullptr;
    zel::ParserImpl& parser = zel::ParserAccess::Of(*m_parser);
    const zel::GrammarTables& grammar = parser.grammar;
    if (!parser.grammar.Use(parser.reporter) || keyword < 0 || keyword >= grammar.KeywordCount() ||
        grammar.KeywordType(keyword) != valueType)
        return nullptr;
    // Only a form holds children: a value or literal node takes none.
    if (GetObjType() != zelKW_FORM)
        return nullptr;
    const int row = zel::GrammarSearch::FindAppendRow(grammar, grammar.ElementHead(m_sem), keyword);
    if (row < 0)
        return nullptr;
    CZelOid* node = parser.store.Make(row, valueType, text, std::strlen(text), nullptr);
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

// Inserts a node of keyword and type valueType in front of this node, with its value read
// from text (in the type of the element that takes it).
CZelOid* CZelOid::InsertObject(int keyword, zelTokTyp valueType, const char* text) const
{
    if (m_sem < 0 || !Plink || !zel::ParserAccess::Ready(m_parser))
        return nullptr;
    zel::ParserImpl& parser = zel::ParserAccess::Of(*m_parser);
    const zel::GrammarTables& grammar = parser.grammar;
    if (!parser.grammar.Use(parser.reporter) || keyword < 0 || keyword >= grammar.KeywordCount() ||
        !parser.stack.Allocate())
        return nullptr;
    parser.Reinit();

    // Replay the siblings in front of this node, then find the new node's element and
    // check that this node may still follow it.
    zel::GrammarSearch search(grammar, parser.stack);
    if (!search.Start(Plink->m_sem))
        return nullptr;
    for (const CZelOid* sibling = Plink->Clink; sibling && sibling != this; sibling = sibling->Nlink)
        if (!search.Pass(sibling->m_sem))
            return nullptr;
    char* name = const_cast<char*>(grammar.KeywordRow(keyword).name);
    zel::Token token{name, std::strlen(name), valueType, zel::kNameUnknown};
    const int element = search.Find(token);
    if (element < 0)
        return nullptr;
    char* own = const_cast<char*>(GetKeyword());
    token = zel::Token{own, std::strlen(own), GetObjType(), zel::kNameUnknown};
    if (search.Find(token) < 0)
        return nullptr;

    CZelOid* node = parser.store.Make(element, grammar.ElementType(element), text, std::strlen(text), nullptr);
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

const CZelOid* CZelOid::AppForm(int keyword) const { return AppendObject(keyword, zelKW_FORM, ""); }

const CZelOid* CZelOid::AppLiteral(int keyword) const { return AppendObject(keyword, zelKW_LIT, ""); }

// Appends one text value of the given keyword. A text that the writer cannot write back
// is refused.
const CZelOid* CZelOid::AppendText(int keyword, zelTokTyp type, const char* text) const
{
    if (!text || !zel::CanWriteText(m_parser, type, text, std::strlen(text)))
        return nullptr;
    return AppendObject(keyword, type, text);
}

const CZelOid* CZelOid::AppIdent(const char* text) const { return AppendText(zel::kIdentKeyword, zelKW_IDENT, text); }

const CZelOid* CZelOid::AppStrtok(const char* text) const { return AppendText(zel::kStringKeyword, zelKW_STRTOK, text); }

// Adds one node per text of list, from head to tail, with add (AppendText or
// InsertText): all of them or none. Every text is checked before the first node is made,
// and when a later node cannot be made the nodes made before it are deleted again. The
// nodes made stand next to each other in list order. Returns the first node, or null.
const CZelOid* CZelOid::AddTexts(AddOne add, int keyword, zelTokTyp type, CStringList& list) const
{
    if (!zel::ParserAccess::Ready(m_parser))
        return nullptr;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CString& text = list.GetNext(pos);
        if (!zel::CanWriteText(m_parser, type, text, static_cast<size_t>(text.GetLength())))
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

const CZelOid* CZelOid::AppIdent(CStringList& list) const { return AddTexts(&CZelOid::AppendText, zel::kIdentKeyword, zelKW_IDENT, list); }

const CZelOid* CZelOid::AppStrtok(CStringList& list) const
{
    return AddTexts(&CZelOid::AppendText, zel::kStringKeyword, zelKW_STRTOK, list);
}

// Appends a number node of keyword and type, of value 0; the caller sets its value.
const CZelOid* CZelOid::AppendNumber(int keyword, zelTokTyp type) const { return AppendObject(keyword, type, "0"); }

const CZelOid* CZelOid::AppInttok(int value) const { return SetNewValue(AppendNumber(zel::kIntKeyword, zelKW_INTTOK), value); }

const CZelOid* CZelOid::AppInttok(const char* text) const
{
    bool outOfRange = false;
    return AppInttok(text ? zel::TextToInt(text, outOfRange) : 0);
}

const CZelOid* CZelOid::AppRealtok(double value) const
{
    if (!std::isfinite(value))
        return nullptr;
    return SetNewValue(AppendNumber(zel::kRealKeyword, zelKW_REALTOK), value);
}

const CZelOid* CZelOid::AppRealtok(const char* text) const { return AppRealtok(text ? zel::TextToDouble(text) : 0.0); }

const CZelOid* CZelOid::InsForm(int keyword) const { return zel::ReadBack::KeepIfReadsBack(InsertObject(keyword, zelKW_FORM, "")); }

const CZelOid* CZelOid::InsLiteral(int keyword) const
{
    return zel::ReadBack::KeepIfReadsBack(InsertObject(keyword, zelKW_LIT, ""));
}

// Inserts one text value; a text that the writer cannot write back is refused.
const CZelOid* CZelOid::InsertText(int keyword, zelTokTyp type, const char* text) const
{
    if (!text || !zel::CanWriteText(m_parser, type, text, std::strlen(text)))
        return nullptr;
    return zel::ReadBack::KeepIfReadsBack(SetNewValue(InsertObject(keyword, type, text), text));
}

const CZelOid* CZelOid::InsIdent(const char* text) const { return InsertText(zel::kIdentKeyword, zelKW_IDENT, text); }

const CZelOid* CZelOid::InsIdent(const CString& text) const { return InsertText(zel::kIdentKeyword, zelKW_IDENT, text); }

const CZelOid* CZelOid::InsIdent(CStringList& list) const { return AddTexts(&CZelOid::InsertText, zel::kIdentKeyword, zelKW_IDENT, list); }

const CZelOid* CZelOid::InsStrtok(const char* text) const { return InsertText(zel::kStringKeyword, zelKW_STRTOK, text); }

const CZelOid* CZelOid::InsStrtok(const CString& text) const { return InsertText(zel::kStringKeyword, zelKW_STRTOK, text); }

const CZelOid* CZelOid::InsStrtok(CStringList& list) const { return AddTexts(&CZelOid::InsertText, zel::kStringKeyword, zelKW_STRTOK, list); }

const CZelOid* CZelOid::InsInttok(int value) const
{
    const CZelOid* node = InsertObject(zel::kIntKeyword, zelKW_INTTOK, "0");
    // Where only a real element takes the value, the node holds it as a real.
    if (node && node->GetObjType() == zelKW_REALTOK)
        return zel::ReadBack::KeepIfReadsBack(SetNewValue(node, static_cast<double>(value)));
    return zel::ReadBack::KeepIfReadsBack(SetNewValue(node, value));
}

const CZelOid* CZelOid::InsRealtok(double value) const
{
    if (!std::isfinite(value))
        return nullptr;
    return zel::ReadBack::KeepIfReadsBack(SetNewValue(InsertObject(zel::kRealKeyword, zelKW_REALTOK, "0"), value));
}
