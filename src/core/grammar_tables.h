// The grammar a parser works under: the client's tables, their check at first use, the
// lookups every step reads them through, and the keyword index built from them.
#ifndef ZEL_CORE_GRAMMAR_TABLES_H
#define ZEL_CORE_GRAMMAR_TABLES_H

#include <string>

#include "core/name_index.h"
#include "zel/grammar.h"
#include "zel/platform.h"

namespace zel {

class Reporter;

class GrammarTables {
public:
    // Keeps a copy of the descriptor (null: no grammar); the tables stay the client's.
    explicit GrammarTables(const zelParserS* descriptor);

    // True when there are tables and they are well formed. The first call checks them.
    bool Has() const;
    // Has, for the operations that may make the first use of the tables: malformed tables
    // are reported through reporter once (code zelERR_GRAMMAR_TABLES), and every refusal
    // sets the error state.
    bool Use(Reporter& reporter);
    // What is wrong with malformed tables.
    const std::string& Fault() const { return m_fault; }

    // The keyword index, upper-case literal names and lower-case others, and the same
    // names by case-insensitive hash. Load throws std::bad_alloc and leaves both empty.
    void LoadKeywords();
    void ClearKeywords();
    // Loads the keyword index when it is empty; false when memory ran out (reported).
    bool EnsureKeywords(Reporter& reporter);
    bool KeywordsLoaded() const { return m_keywords.GetCount() != 0; }
    // True when the text is a key of the keyword index as it stands.
    bool IsKeywordKey(const char* text) const;
    const NameIndex& Names() const { return m_names; }

    // Lookups; indexes are those of the tables, which Has guarantees in range.
    const zelParserS& Tables() const { return m_tables; }
    const zelSemanticS& Row(int element) const { return m_tables.semTable[element]; }
    zelSemanticS& WritableRow(int element) { return m_tables.semTable[element]; }
    const zelKeywordS& KeywordRow(int keyword) const { return m_tables.kwTable[keyword]; }
    int KeywordCount() const { return m_tables.kwCount; }
    // Semantic rows the library may read.
    int RowCount() const { return m_semRows; }
    zelTokTyp ElementType(int element) const
    {
        return static_cast<zelTokTyp>(m_tables.kwTable[m_tables.semTable[element].keywordId].type);
    }
    int ElementKeyword(int element) const { return m_tables.semTable[element].keywordId; }
    // The keyword name of an element; null for -1.
    const char* ElementName(int element) const
    {
        return element < 0 ? nullptr : m_tables.kwTable[m_tables.semTable[element].keywordId].name;
    }
    // The first row of the rule of an element's keyword; -1 for -1.
    int ElementHead(int element) const
    {
        return element < 0 ? -1 : m_tables.kwTable[m_tables.semTable[element].keywordId].semanticId;
    }
    int KeywordHead(int keyword) const { return keyword < 0 ? -1 : m_tables.kwTable[keyword].semanticId; }
    int KeywordType(int keyword) const { return m_tables.kwTable[keyword].type; }
    // The keyword's name; "" without tables or for an id out of range.
    const char* KeywordName(int keyword) const;
    // The head of the group that element belongs to, or -1.
    int GroupHead(int element) const;

private:
    void Check() const;

    enum State { kNone, kUnchecked, kValid, kMalformed };
    zelParserS m_tables;
    mutable State m_state;
    mutable int m_semRows = 0;
    mutable std::string m_fault;
    bool m_reported = false;
    CMapStringToPtr m_keywords;
    NameIndex m_names;
};

}  // namespace zel

#endif
