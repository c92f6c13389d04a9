// CZelOid: one node of a parsed tree (a form, a value or a literal keyword).
#ifndef ZEL_OID_H
#define ZEL_OID_H

#include <cstddef>
#include <new>

#include "zel/export.h"
#include "zel/grammar.h"
#include "zel/platform.h"

class CZelParser;
namespace zel {
struct NodeAccess;
}

// A node knows its parser and reads its keyword and type through the parser's grammar.
// Its value (an int, a double or a text) is owned by the node. Nodes of a parsed tree are
// owned by the parser (see CZelParser). A node released by RemObject or RemoveObjects
// stays a valid object in the free state (no keyword, no links, no value) until the
// parser's FullInit or destruction. Text pointers handed out stay valid until the value
// is replaced or the node is released. Editing operations are const: the links and the
// value are mutable.
class ZEL_API CZelOid {
public:
    explicit CZelOid(CZelParser* parser = nullptr);
    // Copies carry the links as they stand and their own copy of the value; assigning
    // into a released node leaves it free.
    CZelOid(const CZelOid& other);
    CZelOid& operator=(const CZelOid& other);
    virtual ~CZelOid();
    // Nodes come from a pool of blocks of their size; each is still deleted on its own.
    static void* operator new(size_t size);
    static void* operator new(size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* block, size_t size);

    CZelParser* GetParser() const;
    int GetFlags() const;
    // The line of the input where the node's keyword (or value) token started; 0 for a
    // node made by code (constructed, copied, made by keyword or as a goal). A node read
    // from a line list answers the number of its string (from 1), a node added from text 1.
    // Assignment leaves a node's line as it was: the line belongs to the node's place in
    // the input, not to its value.
    int GetLine() const;
    void SetFlags(int flags) const;

    // --- Removal. Both return 1; a free node is left alone.
    // Releases this node and its subtree and takes it off its parent's chain.
    int RemObject() const;
    // Releases every child of this node with its subtree.
    int RemoveObjects() const;

    // --- Links. keyword, when given, receives the returned node's keyword id (0 for null).
    // Returns the first child, or null.
    const CZelOid* GetFirstObj(int* keyword = nullptr) const;
    // Returns the next sibling, or null.
    const CZelOid* GetNextObj(int* keyword = nullptr) const;
    // Returns the next later sibling with this node's keyword, or null.
    const CZelOid* GetNextInst() const;
    // Returns the previous sibling, or null for a first child or a node without parent.
    const CZelOid* GetPrevObj() const;
    // Returns the parent, or null.
    const CZelOid* GetParent() const;
    // Returns the parent's parent, or null.
    const CZelOid* GetGrandParent() const;

    // --- Searches
    // Returns the first child with the keyword id, or null.
    const CZelOid* FindObj(int keyword) const;
    // Returns the first child of node (not of this node) with the keyword id, or null.
    const CZelOid* FindObj(const CZelOid* node, int keyword);
    // Returns the child with the keyword whose first value equals name (any letter case;
    // exact case through a symbol map), or null.
    const CZelOid* FindObj(int keyword, const char* name) const;
    const CZelOid* FindNamedObj(int keyword, const char* name) const;

    // --- Values of this node. Text getters return null for a node without text;
    // number getters return 0 for a node of another type. A word (zelKW_WORDTOK) has its
    // text as written through GetName and the name iteration; GetIdent and GetStrval
    // return null for it, and the number getters 0.
    const char* GetIdent() const;
    const char* GetStrval() const;
    const char* GetName() const;
    int GetIntval() const;
    double GetRealval() const;
    // Returns a real node's value, or an integer node's value as a double.
    double GetNumberval() const;
    // Returns the keyword id (a literal's value); 0 for a free node.
    int GetLitval() const;

    // --- Typed iteration: look at the first child (GetFirst...) or the next sibling
    // (GetNext...); return it when it has the wanted type, else null. The value is
    // delivered through the argument when it is not null.
    const CZelOid* GetFirstStrtok(const char** value) const;
    const CZelOid* GetFirstStrtok(CString& value) const;
    const CZelOid* GetNextStrtok(const char** value) const;
    const CZelOid* GetNextStrtok(CString& value) const;
    const CZelOid* GetFirstIdent(const char** value) const;
    const CZelOid* GetFirstIdent(CString& value) const;
    const CZelOid* GetNextIdent(const char** value) const;
    const CZelOid* GetNextIdent(CString& value) const;
    const CZelOid* GetFirstName(const char** value) const;
    const CZelOid* GetFirstName(CString& value) const;
    const CZelOid* GetNextName(const char** value) const;
    const CZelOid* GetNextName(CString& value) const;
    const CZelOid* GetFirstInttok(int* value) const;
    const CZelOid* GetNextInttok(int* value) const;
    const CZelOid* GetFirstRealtok(double* value) const;
    const CZelOid* GetNextRealtok(double* value) const;
    const CZelOid* GetFirstNumber(double* value) const;
    const CZelOid* GetNextNumber(double* value) const;
    const CZelOid* GetFirstLiteral(int* value) const;
    const CZelOid* GetNextLiteral(int* value) const;

    // --- Text runs: append to list (not emptied first); return the number appended.
    int GetStrtokList(CStringList& list) const;
    int GetNextStrtokList(CStringList& list) const;
    int GetIdentList(CStringList& list) const;

    // --- Keyword and grammar
    // Returns the keyword id; 0 for a free node.
    int GetKeywordId() const;
    // Returns the zelTokTyp of the node's keyword (of keyword 0 for a free node).
    int GetObjType() const;
    // Returns the keyword name (of keyword 0 for a free node).
    const char* GetKeyword() const;
    int GetKeywordType() const;
    int GetKeywordSemanticId() const;
    int GetSemanticType() const;

    // --- Construction. Each returns the new node (the first one for lists), or null
    // when the grammar does not allow it there or the value is refused; a refusal changes
    // nothing. Refused values are those the writer cannot write back so that this
    // parser's settings read them again: identifiers that no spelling carries (under the
    // plain rules, for instance, texts with whitespace or parentheses, texts that read as
    // another kind of word even after "&", and the name of a literal keyword in any
    // case; under the extended rules texts starting with a space, ")" or an apostrophe,
    // or holding a line feed), strings with a double quote that does not follow the
    // escape character, ending in the escape character or, under the extended rules,
    // starting with a space or ")", and reals that are NaN or infinite. The lexical
    // options change the string rules: with zelLEX_QUOTE_OPENS_STRING a string may start
    // with a space or ")"; with zelLEX_ESCAPE_ESCAPES a quote inside must follow an odd run
    // of escape characters and the string must not end in one. An identifier text goes to
    // a word element (zelKW_WORDTOK) where the rule has one before any identifier element;
    // there every text is taken that reads back as one word token of that text (written
    // as itself, or marked: after "&" under the plain rules, between apostrophes under
    // the extended rules), and refused when none does: under both rule sets texts with
    // whitespace or a line feed, under the plain rules texts with parentheses. A node whose
    // value cannot be set is removed again. The list forms add every text or none: all
    // texts are checked first, and the nodes made are removed when a later one fails.
    // Append as last child: the keyword only needs to occur in this form's rule.
    const CZelOid* AppForm(int keyword) const;
    const CZelOid* AppLiteral(int keyword) const;
    const CZelOid* AppIdent(const char* text) const;
    const CZelOid* AppIdent(CStringList& list) const;
    const CZelOid* AppStrtok(const char* text) const;
    const CZelOid* AppStrtok(CStringList& list) const;
    const CZelOid* AppInttok(int value) const;
    const CZelOid* AppInttok(const char* text) const;
    const CZelOid* AppRealtok(double value) const;
    const CZelOid* AppRealtok(const char* text) const;
    // Insert in front of this node: the grammar must allow the new node at exactly
    // this place, and every child of the parent must then read back as the same keyword
    // with either engine; otherwise the new node is removed again.
    const CZelOid* InsForm(int keyword) const;
    const CZelOid* InsLiteral(int keyword) const;
    const CZelOid* InsIdent(const char* text) const;
    const CZelOid* InsIdent(const CString& text) const;
    const CZelOid* InsIdent(CStringList& list) const;
    const CZelOid* InsStrtok(const char* text) const;
    const CZelOid* InsStrtok(const CString& text) const;
    const CZelOid* InsStrtok(CStringList& list) const;
    const CZelOid* InsInttok(int value) const;
    const CZelOid* InsRealtok(double value) const;

    // --- Value replacement. Return 1, or 0 when the value does not fit the node's kind,
    // is refused (see Construction) or memory ran out; on 0 the node keeps its value. A
    // word takes a text; it is written as itself when its parent's children then read
    // back as they stand, else marked when that makes them read back, else it is refused
    // (ReplaceData("7") on a word after an integer element that would take "7").
    int ReplaceData(int value) const;
    int ReplaceData(double value) const;
    int ReplaceData(const char* text) const;
    int ReplaceData(const CString& text) const;
    int ReplaceData(CStringList& list) const;  // always 0

    // Writes the node as one row of the object table to standard output.
    void Print(int header, int index) const;

private:
    friend struct zel::NodeAccess;  // the library's own access to the fields

    CZelParser* m_parser;
    mutable int m_sem;
    mutable int m_flags;
    mutable CZelOid* Plink;
    mutable CZelOid* Clink;
    mutable CZelOid* Nlink;
    mutable void* Dlink;
};

#endif
