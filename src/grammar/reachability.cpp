// The parser reads greedily and never backs up: in a choice, group or the goal the first
// alternative whose first element matches the token is taken, and a repeated element takes
// every token it matches. An alternative or element that only ever sees tokens taken before
// it compiles but can never be read; each one gets a warning.
//
// What a token matches is decided as in MatchElement, on token kinds: an integer, a real,
// an identifier, a string, another bare word (the plain rules' word that is none of these),
// a literal keyword by name and a form opener by name, names in any letter case. An integer
// also matches a real element; under the extended rules a literal keyword also matches an
// identifier element (never a form of its name); a word element matches
// every bare word.
#include "grammar/reachability.h"

#include <algorithm>
#include <cstdint>

#include "core/conventions.h"
#include "core/name_index.h"

namespace zel {

namespace {

enum FixedKind : size_t { kIntToken, kRealToken, kIdentToken, kStringToken, kOtherWordToken, kFixedKinds };

// A set of token kinds.
class TokenSet {
public:
    explicit TokenSet(size_t kinds) : m_bits((kinds + 63) / 64, 0) {}
    void Add(size_t kind) { m_bits[kind / 64] |= 1ULL << (kind % 64); }
    // Adds other's kinds; true when that added any.
    bool Merge(const TokenSet& other)
    {
        bool added = false;
        for (size_t i = 0; i < m_bits.size(); ++i) {
            added = added || (other.m_bits[i] & ~m_bits[i]) != 0;
            m_bits[i] |= other.m_bits[i];
        }
        return added;
    }
    bool Within(const TokenSet& other) const
    {
        for (size_t i = 0; i < m_bits.size(); ++i)
            if (m_bits[i] & ~other.m_bits[i])
                return false;
        return true;
    }
    bool Empty() const
    {
        return std::all_of(m_bits.begin(), m_bits.end(), [](std::uint64_t word) { return word == 0; });
    }

private:
    std::vector<std::uint64_t> m_bits;
};

class Reachability {
public:
    Reachability(const std::vector<zelKeywordS>& keywords, const std::vector<zelSemanticS>& rows,
                 const std::vector<RowSource>& sources, bool extended)
        : m_keywords(keywords), m_rows(rows), m_sources(sources), m_extended(extended),
          m_kinds(kFixedKinds + 2 * keywords.size())
    {
        NameCanonicals();
        FirstSets();
    }

    void Check(std::vector<std::string>& warnings)
    {
        for (size_t k = 0; k < m_keywords.size(); ++k) {
            const int head = m_keywords[k].semanticId;
            if (head <= 0)
                continue;
            if (m_keywords[k].type == zelKW_COMPOSITE)
                CheckAlternatives(static_cast<int>(k));
            else if (m_keywords[k].type == zelKW_FORM)
                CheckSequence(head);
        }
        std::stable_sort(m_found.begin(), m_found.end(),
                         [](const Warning& a, const Warning& b) { return a.first < b.first; });
        for (const Warning& warning : m_found)
            warnings.push_back("line " + std::to_string(warning.first) + ": warning: " + warning.second);
    }

private:
    using Warning = std::pair<int, std::string>;

    size_t Literal(int canonical) const { return kFixedKinds + static_cast<size_t>(canonical); }
    size_t FormOpener(int canonical) const { return kFixedKinds + m_keywords.size() + static_cast<size_t>(canonical); }
    const zelSemanticS& Row(int row) const { return m_rows[static_cast<size_t>(row)]; }
    const TokenSet& FirstOf(int row) const { return m_first[static_cast<size_t>(Row(row).keywordId)]; }
    std::string NameOf(int row) const { return m_keywords[static_cast<size_t>(Row(row).keywordId)].name; }

    // Keywords of one name in any letter case stand for the same token, named by the first of
    // them, as the parser's keyword index names it.
    void NameCanonicals()
    {
        m_names.Build(m_keywords.data(), static_cast<int>(m_keywords.size()));
        for (int k = kFixedKeywords; k < static_cast<int>(m_keywords.size()); ++k)
            if (m_names.CanonicalOf(k) == k && IsLiteralToken(k))
                m_literals.push_back(k);
    }

    // A bare word of this name is a literal token: the name is a key of the keyword index.
    // No fixed keyword's name reads as a word.
    bool IsLiteralToken(int canonical) const { return canonical >= kFixedKeywords && m_names.IsIndexKey(canonical); }

    // The tokens that an element of keyword k matches, for a keyword that is no composite.
    TokenSet ElementFirst(size_t k) const
    {
        TokenSet set(m_kinds);
        const int canonical = m_names.CanonicalOf(static_cast<int>(k));
        const int type = m_keywords[k].type;
        if (type == zelKW_COMPOSITE)
            return set;
        const bool everyLiteral = type == zelKW_WORDTOK || (type == zelKW_IDENT && m_extended);
        if (type == zelKW_INTTOK || type == zelKW_REALTOK || type == zelKW_WORDTOK)
            set.Add(kIntToken);
        if (type == zelKW_REALTOK || type == zelKW_WORDTOK)
            set.Add(kRealToken);
        if (type == zelKW_IDENT || type == zelKW_WORDTOK)
            set.Add(kIdentToken);
        if (type == zelKW_WORDTOK)
            set.Add(kOtherWordToken);
        if (type == zelKW_STRTOK)
            set.Add(kStringToken);
        if (type == zelKW_FORM)
            set.Add(FormOpener(canonical));
        if (type == zelKW_LIT)
            set.Add(Literal(canonical));
        for (size_t i = 0; everyLiteral && i < m_literals.size(); ++i)
            set.Add(Literal(m_literals[i]));
        return set;
    }

    // Calls visit with the first row of each alternative of a composite, in order.
    template <typename Visit>
    void ForEachAlternative(int composite, Visit visit) const
    {
        int first = m_keywords[static_cast<size_t>(composite)].semanticId;
        for (size_t steps = 0; first > 0 && steps < m_rows.size(); ++steps, first = Row(first).alt)
            visit(first);
    }

    // An element that may be passed without a token: optional or repeated as written.
    bool Nullable(int row) const
    {
        return !(Row(row).semType & S_REQ) && !m_sources[static_cast<size_t>(row)].required;
    }

    // Calls visit with each element of a sequence that can see its first token: those up to
    // and including its first required one.
    template <typename Visit>
    void ForEachLeadingElement(int row, Visit visit) const
    {
        for (size_t steps = 0; row > 0 && steps < m_rows.size(); ++steps, row = Row(row).next) {
            visit(row);
            if (!Nullable(row))
                break;
        }
    }

    // The tokens a sequence can start with.
    TokenSet SequenceFirst(int row) const
    {
        TokenSet set(m_kinds);
        ForEachLeadingElement(row, [&](int element) { set.Merge(FirstOf(element)); });
        return set;
    }

    // The composites that a composite can enter before it reads a token.
    std::vector<int> EnteredFirstOf(int composite) const
    {
        std::vector<int> entered;
        ForEachAlternative(composite, [&](int first) {
            ForEachLeadingElement(first, [&](int element) {
                if (m_keywords[static_cast<size_t>(Row(element).keywordId)].type == zelKW_COMPOSITE)
                    entered.push_back(Row(element).keywordId);
            });
        });
        return entered;
    }

    // The composites, each after the ones its first set stands on (in a cycle, in any order
    // of its members); found depth first on a path of its own, not by recursion.
    std::vector<int> CompositeOrder() const
    {
        std::vector<int> order;
        std::vector<bool> seen(m_keywords.size(), false);
        std::vector<std::pair<int, std::vector<int>>> path;
        for (int k = 0; k < static_cast<int>(m_keywords.size()); ++k) {
            if (m_keywords[static_cast<size_t>(k)].type != zelKW_COMPOSITE || seen[static_cast<size_t>(k)])
                continue;
            seen[static_cast<size_t>(k)] = true;
            path.push_back({k, EnteredFirstOf(k)});
            while (!path.empty()) {
                if (path.back().second.empty()) {
                    order.push_back(path.back().first);
                    path.pop_back();
                    continue;
                }
                const int next = path.back().second.back();
                path.back().second.pop_back();
                if (!seen[static_cast<size_t>(next)]) {
                    seen[static_cast<size_t>(next)] = true;
                    path.push_back({next, EnteredFirstOf(next)});
                }
            }
        }
        return order;
    }

    // The first sets of all keywords. A composite's set is the union of its alternatives'
    // sets; taken in CompositeOrder one pass computes them all, and a cycle of composites
    // that reach each other (which the compiler refuses) only needs passes until no set
    // grows.
    void FirstSets()
    {
        for (size_t k = 0; k < m_keywords.size(); ++k)
            m_first.push_back(ElementFirst(k));
        const std::vector<int> order = CompositeOrder();
        for (bool changed = true; changed;) {
            changed = false;
            for (int k : order)
                ForEachAlternative(k, [&](int first) {
                    changed = m_first[static_cast<size_t>(k)].Merge(SequenceFirst(first)) || changed;
                });
        }
    }

    // An alternative whose every first token an earlier alternative's first element takes
    // is never taken. The others' sequences are checked in turn.
    void CheckAlternatives(int composite)
    {
        const zelKeywordS& keyword = m_keywords[static_cast<size_t>(composite)];
        const std::string owner = composite == kGoalKeyword ? "the goal" : "\"" + std::string(keyword.name) + "\"";
        TokenSet taken(m_kinds);
        ForEachAlternative(composite, [&](int first) {
            const TokenSet starts = SequenceFirst(first);
            if (first != keyword.semanticId && !starts.Empty() && starts.Within(taken))
                Warn(first, "alternative \"" + NameOf(first) + (Row(first).next ? " ..." : "") + "\" of " + owner +
                                " is never taken: an earlier alternative takes every token it can start with");
            else
                CheckSequence(first);
            taken.Merge(FirstOf(first));
        });
    }

    // An element right after a repeated element that takes every token it can start with is
    // never reached; an element never reached takes no token from the ones after it.
    void CheckSequence(int row)
    {
        int taker = 0;  // the last element before row that can take a token
        for (size_t steps = 0; row > 0 && steps < m_rows.size(); ++steps, row = Row(row).next) {
            const TokenSet& starts = FirstOf(row);
            if (taker > 0 && (Row(taker).semType & S_REPG) && !starts.Empty() && starts.Within(FirstOf(taker))) {
                Warn(row, "\"" + NameOf(row) + "\" is never reached: the repeated \"" + NameOf(taker) +
                              "\" before it takes every token it can start with");
                continue;
            }
            taker = row;
        }
    }

    // A row of no element of its own (the repeated row of "x+", never reached only when
    // its element's first row is not) gets no warning.
    void Warn(int row, const std::string& text)
    {
        const int line = m_sources[static_cast<size_t>(row)].line;
        if (line > 0)
            m_found.push_back({line, text});
    }

    const std::vector<zelKeywordS>& m_keywords;
    const std::vector<zelSemanticS>& m_rows;
    const std::vector<RowSource>& m_sources;
    const bool m_extended;
    const size_t m_kinds;               // fixed kinds, a literal per keyword, a form opener per keyword
    NameIndex m_names;
    std::vector<int> m_literals;        // the canonical keywords of the literal tokens
    std::vector<TokenSet> m_first;      // by keyword: the tokens an element of it can start with
    std::vector<Warning> m_found;
};

}  // namespace

void FindUnreachable(const std::vector<zelKeywordS>& keywords, const std::vector<zelSemanticS>& rows,
                     const std::vector<RowSource>& sources, bool extended, std::vector<std::string>& warnings)
{
    Reachability(keywords, rows, sources, extended).Check(warnings);
}

}  // namespace zel
