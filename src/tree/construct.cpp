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

namespace zel {

namespace {

typedef const CZelOid* (*AddOne)(const CZelOid* self, int keyword, zelTokTyp type, const char* text);

// True when text may be the value of an element of the given type: an identifier must
// keep its kind when read back, which some texts that a word takes do not.
bool TextFitsElement(const CZelOid* self, int elementType, const char* text)
{
    return elementType != zelKW_IDENT || CanWriteText(OwnerOf(self), zelKW_IDENT, text, std::strlen(text));
}

// Appends a node of keyword, whose type must be valueType, with its value read from text.
// An identifier text goes to the first row of the keyword or of a word element.
CZelOid* AppendObject(const CZelOid* self, int keyword, zelTokTyp valueType, const char* text)
{
    if (SemOf(self) < 0 || !ParserAccess::Ready(OwnerOf(self)))
        return nullptr;
    ParserImpl& parser = ParserAccess::Of(*OwnerOf(self));
    const GrammarTables& grammar = parser.grammar;
    if (!parser.grammar.Use(parser.reporter) || keyword < 0 || keyword >= grammar.KeywordCount() ||
        grammar.KeywordType(keyword) != valueType)
        return nullptr;
    // Only a form holds children: a value or literal node takes none.
    if (self->GetObjType() != zelKW_FORM)
        return nullptr;
    const int row = GrammarSearch::FindAppendRow(grammar, grammar.ElementHead(SemOf(self)), keyword, valueType == zelKW_IDENT);
    if (row < 0 || !TextFitsElement(self, grammar.ElementType(row), text))
        return nullptr;
    CZelOid* node = parser.store.Make(row, grammar.ElementType(row), text, std::strlen(text), nullptr);
    if (!node)
        return nullptr;
    ParentOf(node) = const_cast<CZelOid*>(self);
    if (!ChildOf(self)) {
        ChildOf(self) = node;
    } else {
        CZelOid* last = ChildOf(self);
        while (NextOf(last))
            last = NextOf(last);
        NextOf(last) = node;
    }
    return node;
}

// Inserts a node of keyword and type valueType in front of this node, with its value read
// from text (in the type of the element that takes it).
CZelOid* InsertObject(const CZelOid* self, int keyword, zelTokTyp valueType, const char* text)
{
    if (SemOf(self) < 0 || !ParentOf(self) || !ParserAccess::Ready(OwnerOf(self)))
        return nullptr;
    ParserImpl& parser = ParserAccess::Of(*OwnerOf(self));
    const GrammarTables& grammar = parser.grammar;
    if (!parser.grammar.Use(parser.reporter) || keyword < 0 || keyword >= grammar.KeywordCount() ||
        !parser.stack.Allocate())
        return nullptr;
    parser.Reinit();

    // Replay the siblings in front of this node, then find the new node's element and
    // check that this node may still follow it.
    GrammarSearch search(grammar, parser.stack);
    if (!search.Start(SemOf(ParentOf(self))))
        return nullptr;
    for (const CZelOid* sibling = ChildOf(ParentOf(self)); sibling && sibling != self; sibling = NextOf(sibling))
        if (!search.Pass(SemOf(sibling)))
            return nullptr;
    char* name = const_cast<char*>(grammar.KeywordRow(keyword).name);
    Token token{name, std::strlen(name), valueType, kNameUnknown};
    const int element = search.Find(token);
    if (element < 0 || !TextFitsElement(self, grammar.ElementType(element), text))
        return nullptr;
    char* own = const_cast<char*>(self->GetKeyword());
    token = Token{own, std::strlen(own), self->GetObjType(), kNameUnknown};
    if (search.Find(token) < 0)
        return nullptr;

    CZelOid* node = parser.store.Make(element, grammar.ElementType(element), text, std::strlen(text), nullptr);
    if (!node)
        return nullptr;
    if (CZelOid* prev = PrevOf(self))
        NextOf(prev) = node;
    else
        ChildOf(ParentOf(self)) = node;
    NextOf(node) = const_cast<CZelOid*>(self);
    ParentOf(node) = ParentOf(self);
    return node;
}

// Appends one text value whose text has been checked.
const CZelOid* AppendValue(const CZelOid* self, int keyword, zelTokTyp type, const char* text)
{
    return AppendObject(self, keyword, type, text);
}

// Inserts one text value whose text has been checked, entered in its symbol map as a
// replaced value is, and kept only when the parent's children read back.
const CZelOid* InsertValue(const CZelOid* self, int keyword, zelTokTyp type, const char* text)
{
    const CZelOid* node = InsertObject(self, keyword, type, text);
    if (node)
        EnterSymbolIfHashed(node);
    return ReadBack::KeepIfReadsBack(node);
}

// The kind of value whose writing check every text of type must pass before its element
// is known: an identifier text may also go to a word element, which takes more texts.
int FirstCheck(zelTokTyp type) { return type == zelKW_IDENT ? zelKW_WORDTOK : type; }

// Adds one text value with add (AppendValue or InsertValue). A text that the writer
// cannot write back is refused.
const CZelOid* AddText(const CZelOid* self, AddOne add, int keyword, zelTokTyp type, const char* text)
{
    if (!text || !CanWriteText(OwnerOf(self), FirstCheck(type), text, std::strlen(text)))
        return nullptr;
    return add(self, keyword, type, text);
}

// Adds one node per text of list, from head to tail, with add (AppendValue or
// InsertValue): all of them or none. Every text is checked before the first node is made,
// and when a later node cannot be made the nodes made before it are deleted again. The
// nodes made stand next to each other in list order. Returns the first node, or null.
const CZelOid* AddTexts(const CZelOid* self, AddOne add, int keyword, zelTokTyp type, CStringList& list)
{
    if (!ParserAccess::Ready(OwnerOf(self)))
        return nullptr;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const CString& text = list.GetNext(pos);
        if (!CanWriteText(OwnerOf(self), FirstCheck(type), text, static_cast<size_t>(text.GetLength())))
            return nullptr;
    }
    const CZelOid* first = nullptr;
    int made = 0;
    for (POSITION pos = list.GetHeadPosition(); pos; ++made) {
        const CZelOid* node = add(self, keyword, type, list.GetNext(pos));
        if (!node) {
            for (const CZelOid* undo = first; made > 0; --made) {
                const CZelOid* next = NextOf(undo);
                OwnerOf(self)->DeleteObject(undo, 1);
                undo = next;
            }
            return nullptr;
        }
        if (!first)
            first = node;
    }
    return first;
}

// Appends a number node of keyword and type, of value 0; the caller sets its value.
const CZelOid* AppendNumber(const CZelOid* self, int keyword, zelTokTyp type) { return AppendObject(self, keyword, type, "0"); }

}  // namespace

}  // namespace zel



const CZelOid* CZelOid::AppForm(int keyword) const { return zel::AppendObject(this, keyword, zelKW_FORM, ""); }

const CZelOid* CZelOid::AppLiteral(int keyword) const { return zel::AppendObject(this, keyword, zelKW_LIT, ""); }


const CZelOid* CZelOid::AppIdent(const char* text) const { return zel::AddText(this, &zel::AppendValue, zel::kIdentKeyword, zelKW_IDENT, text); }

const CZelOid* CZelOid::AppStrtok(const char* text) const { return zel::AddText(this, &zel::AppendValue, zel::kStringKeyword, zelKW_STRTOK, text); }


const CZelOid* CZelOid::AppIdent(CStringList& list) const { return zel::AddTexts(this, &zel::AppendValue, zel::kIdentKeyword, zelKW_IDENT, list); }

const CZelOid* CZelOid::AppStrtok(CStringList& list) const
{
    return zel::AddTexts(this, &zel::AppendValue, zel::kStringKeyword, zelKW_STRTOK, list);
}



const CZelOid* CZelOid::AppInttok(int value) const { return SetNewValue(zel::AppendNumber(this, zel::kIntKeyword, zelKW_INTTOK), value); }

const CZelOid* CZelOid::AppInttok(const char* text) const
{
    bool outOfRange = false;
    return AppInttok(text ? zel::TextToInt(text, outOfRange) : 0);
}

const CZelOid* CZelOid::AppRealtok(double value) const
{
    if (!std::isfinite(value))
        return nullptr;
    return SetNewValue(zel::AppendNumber(this, zel::kRealKeyword, zelKW_REALTOK), value);
}

const CZelOid* CZelOid::AppRealtok(const char* text) const { return AppRealtok(text ? zel::TextToDouble(text) : 0.0); }

const CZelOid* CZelOid::InsForm(int keyword) const { return zel::ReadBack::KeepIfReadsBack(zel::InsertObject(this, keyword, zelKW_FORM, "")); }

const CZelOid* CZelOid::InsLiteral(int keyword) const
{
    return zel::ReadBack::KeepIfReadsBack(zel::InsertObject(this, keyword, zelKW_LIT, ""));
}


const CZelOid* CZelOid::InsIdent(const char* text) const { return zel::AddText(this, &zel::InsertValue, zel::kIdentKeyword, zelKW_IDENT, text); }

const CZelOid* CZelOid::InsIdent(const CString& text) const { return zel::AddText(this, &zel::InsertValue, zel::kIdentKeyword, zelKW_IDENT, text); }

const CZelOid* CZelOid::InsIdent(CStringList& list) const { return zel::AddTexts(this, &zel::InsertValue, zel::kIdentKeyword, zelKW_IDENT, list); }

const CZelOid* CZelOid::InsStrtok(const char* text) const { return zel::AddText(this, &zel::InsertValue, zel::kStringKeyword, zelKW_STRTOK, text); }

const CZelOid* CZelOid::InsStrtok(const CString& text) const { return zel::AddText(this, &zel::InsertValue, zel::kStringKeyword, zelKW_STRTOK, text); }

const CZelOid* CZelOid::InsStrtok(CStringList& list) const { return zel::AddTexts(this, &zel::InsertValue, zel::kStringKeyword, zelKW_STRTOK, list); }

const CZelOid* CZelOid::InsInttok(int value) const
{
    const CZelOid* node = zel::InsertObject(this, zel::kIntKeyword, zelKW_INTTOK, "0");
    // Where only a real element takes the value, the node holds it as a real.
    if (node && node->GetObjType() == zelKW_REALTOK)
        return zel::ReadBack::KeepIfReadsBack(SetNewValue(node, static_cast<double>(value)));
    return zel::ReadBack::KeepIfReadsBack(SetNewValue(node, value));
}

const CZelOid* CZelOid::InsRealtok(double value) const
{
    if (!std::isfinite(value))
        return nullptr;
    return zel::ReadBack::KeepIfReadsBack(SetNewValue(zel::InsertObject(this, zel::kRealKeyword, zelKW_REALTOK, "0"), value));
}
