// Check of hand-laid grammar tables: ranges, self links and cycles, in one linear pass
// per property, without recursion.
#include "core/grammar_check.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/conventions.h"

namespace zel {

namespace {

// The links a walk over the rows follows out of one row.
enum class Links {
    kAltNext,   // alt and next: the chains that the searches and FormSatis walk
    kNoToken    // the steps a parser takes while the token at hand stays unread
};

class TableCheck {
public:
    TableCheck(const zelParserS& grammar, std::string& fault) : m_g(grammar), m_fault(fault) {}

    bool Run(int& rows)
    {
        if (!m_g.semTable)
            return Fail("the semantic table is missing");
        if (!m_g.kwTable)
            return Fail("the keyword table is missing");
        if (m_g.kwCount < kFixedKeywords)
            return Fail("keyword count %d leaves out the fixed rows 0 to 7", m_g.kwCount);
        if (!CheckKeywords() || !FindExtent() || !CheckRows() || !CheckCycles(Links::kAltNext) ||
            !CheckCycles(Links::kNoToken))
            return false;
        rows = m_rows;
        return true;
    }

private:
    __attribute__((format(printf, 2, 3))) bool Fail(const char* format, ...)
    {
        char text[256];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof text, format, args);
        va_end(args);
        m_fault = text;
        return false;
    }

    bool Known() const { return m_g.semCount > 0; }

    bool CheckKeywords()
    {
        for (int k = 0; k < m_g.kwCount; ++k) {
            const zelKeywordS& row = m_g.kwTable[k];
            if (!std::memchr(row.name, '\0', sizeof row.name))
                return Fail("keyword row %d: name is not NUL-terminated within its %zu bytes", k, sizeof row.name);
            // zelKW_LITIDENT is a type of tokens only.
            if (row.type < zelKW_DUMMY || row.type > zelKW_WORDTOK || row.type == zelKW_LITIDENT)
                return Fail("keyword row %d: type %d is not a keyword type (0..10, 12)", k, row.type);
            if (row.semanticId < 0)
                return Fail("keyword row %d: semanticId %d is negative", k, row.semanticId);
            if (Known() && row.semanticId >= m_g.semCount)
                return Fail("keyword row %d: semanticId %d is outside the semantic table", k, row.semanticId);
        }
        return true;
    }

    // With semCount known the table has that many rows. Otherwise its rows are known to
    // reach up to the highest row that the keyword rows and the links lead to.
    bool FindExtent()
    {
        if (Known()) {
            m_rows = m_g.semCount;
            return true;
        }
        std::unordered_set<int> seen;
        std::vector<int> todo;
        int highest = 0;
        for (int k = 0; k < m_g.kwCount; ++k)
            if (seen.insert(m_g.kwTable[k].semanticId).second)
                todo.push_back(m_g.kwTable[k].semanticId);
        while (!todo.empty()) {
            const int i = todo.back();
            todo.pop_back();
            if (i > highest)
                highest = i;
            const zelSemanticS& row = m_g.semTable[i];
            if (!CheckLink(i, "alt", row.alt) || !CheckLink(i, "next", row.next))
                return false;
            for (int to : {row.alt, row.next})
                if (to && seen.insert(to).second)
                    todo.push_back(to);
        }
        m_rows = highest + 1;
        return true;
    }

    bool CheckLink(int i, const char* field, int to)
    {
        if (to < 0)
            return Fail("semantic row %d: %s %d is negative", i, field, to);
        if (to != 0 && to == i)
            return Fail("semantic row %d: %s %d is the row itself", i, field, to);
        if (m_rows > 0 && to >= m_rows)
            return Fail("semantic row %d: %s %d is outside the table", i, field, to);
        return true;
    }

    bool CheckRows()
    {
        for (int i = 0; i < m_rows; ++i) {
            const zelSemanticS& row = m_g.semTable[i];
            if (row.keywordId < 0 || row.keywordId >= m_g.kwCount)
                return Fail("semantic row %d: keywordId %d is outside the keyword table", i, row.keywordId);
            if (!CheckLink(i, "alt", row.alt) || !CheckLink(i, "next", row.next))
                return false;
        }
        return true;
    }

    // A link out of a row: the row it leads to, and the field and value that make it.
    struct Link {
        int to;
        const char* field;
        int value;
    };

    // The links out of row i of the given kind.
    int Targets(Links links, int i, Link out[3]) const
    {
        const zelSemanticS& row = m_g.semTable[i];
        int n = 0;
        if (row.alt)
            out[n++] = {row.alt, "alt", row.alt};
        // At an unmatched required element the parser stops rather than going on.
        if (row.next && (links == Links::kAltNext || !(row.semType & (S_REQ | S_REQG))))
            out[n++] = {row.next, "next", row.next};
        if (links == Links::kNoToken && m_g.kwTable[row.keywordId].type == zelKW_COMPOSITE)
            out[n++] = {m_g.kwTable[row.keywordId].semanticId, "keywordId", row.keywordId};
        return n;
    }

    // Depth-first walk over every row with an explicit path; a link to a row on the path
    // closes a cycle.
    bool CheckCycles(Links links)
    {
        enum : char { kNew, kOnPath, kDone };
        std::vector<char> state(static_cast<size_t>(m_rows), kNew);
        std::vector<std::pair<int, int>> path;  // row, links of it already followed
        Link targets[3];
        for (int start = 0; start < m_rows; ++start) {
            if (state[start] != kNew)
                continue;
            state[start] = kOnPath;
            path.push_back({start, 0});
            while (!path.empty()) {
                const int i = path.back().first;
                const int n = Targets(links, i, targets);
                if (path.back().second == n) {
                    state[i] = kDone;
                    path.pop_back();
                    continue;
                }
                const Link link = targets[path.back().second++];
                const int to = link.to;
                if (state[to] == kOnPath) {
                    if (links == Links::kAltNext)
                        return Fail("semantic row %d: %s %d closes a cycle of alt and next links", i, link.field,
                                    link.value);
                    return Fail("semantic row %d: %s %d closes a cycle that reads no token", i, link.field, link.value);
                }
                if (state[to] == kNew) {
                    state[to] = kOnPath;
                    path.push_back({to, 0});
                }
            }
        }
        return true;
    }

    const zelParserS& m_g;
    std::string& m_fault;
    int m_rows = 0;
};

}  // namespace

bool CheckGrammarTables(const zelParserS& grammar, std::string& fault, int& rows)
{
    return TableCheck(grammar, fault).Run(rows);
}

}  // namespace zel
