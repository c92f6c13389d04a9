// Table layout of a compiled grammar:
//   keyword rows 0 to 7 are fixed: none, ")", ident, int, real, string, a reserved row
//   and the goal; then forms, choices, values and literals in the order declared, then
//   the literals, the word row and one composite keyword per parenthesised group, in the
//   order the rules use them. A fixed value row (or the word row) whose name another row
//   also has is named in its angle form, "<string>", so that every name is one keyword's;
//   other grammars keep their tables exactly.
//   semantic row 0 is unused, rows 1 to g are the goal alternatives (consecutive, each
//   but the last with an alt link), then each form's rule on consecutive rows ending
//   with its ")" row, then the contents of choices and groups, whose alternatives start
//   on consecutive rows chained by alt links.
#include "grammar/table_builder.h"

#include <cstring>
#include <deque>
#include <map>
#include <strings.h>

#include "core/conventions.h"
#include "lex/char_class.h"
#include "lex/word_rule.h"

namespace zel {

namespace {

const int kRequired = S_REQ | S_ONCE;
const int kRepeated = S_OPTG | S_REPG | S_GRPHEAD;

struct CaseLess {
    bool operator()(const std::string& a, const std::string& b) const { return strcasecmp(a.c_str(), b.c_str()) < 0; }
};

// The fixed keyword rows, in the order of their ids.
struct FixedRow {
    int id;
    const char* name;
    int type;
};
constexpr FixedRow kFixedRows[] = {
    {kNoKeyword, "", zelKW_DUMMY},
    {kEndOfFormRow, ")", zelKW_EOFORM},
    {kIdentKeyword, "ident", zelKW_IDENT},
    {kIntKeyword, "int", zelKW_INTTOK},
    {kRealKeyword, "real", zelKW_REALTOK},
    {kStringKeyword, "string", zelKW_STRTOK},
    {kReservedKeyword, "$reserved", zelKW_DUMMY},
    {kGoalKeyword, "$GOAL", zelKW_COMPOSITE}};

// The row of the word kind is laid where a rule first uses it, not among the fixed rows.
const int kWordKind = -2;

// The built-in value kinds by their names. The name in angle brackets always means the
// kind; the bare name means it unless the grammar declares the name.
struct BuiltinKind {
    const char* name;
    int keyword;  // a fixed row, or kWordKind
};
constexpr BuiltinKind kBuiltinKinds[] = {
    {"ident", kIdentKeyword}, {"int", kIntKeyword},       {"integer", kIntKeyword},
    {"real", kRealKeyword},   {"string", kStringKeyword}, {"word", kWordKind}};

bool IsAngleName(const std::string& name) { return name.size() > 2 && name.front() == '<' && name.back() == '>'; }

// The built-in kind a name spells, bare or in angle brackets; -1 when none.
int BuiltinKeyword(const std::string& name)
{
    const std::string bare = IsAngleName(name) ? name.substr(1, name.size() - 2) : name;
    for (const BuiltinKind& kind : kBuiltinKinds)
        if (strcasecmp(kind.name, bare.c_str()) == 0)
            return kind.keyword;
    return -1;
}

// The rows are added to an empty table, so each lands at its place in the list: that place
// must be its id.
constexpr bool FixedRowsInIdOrder()
{
    int id = 0;
    for (const FixedRow& row : kFixedRows)
        if (row.id != id++)
            return false;
    return id == kFixedKeywords;
}
static_assert(FixedRowsInIdOrder(), "the fixed keyword rows are listed at their own ids, all of them");

// A literal must read as one word that is not a number, or no input could match it: it
// may not start a comment or an apostrophe text, nor hold a character that ends a word or
// a double quote.
bool ReadsAsWord(const std::string& name)
{
    if (name.empty() || EndsLine(name[0]) || name[0] == '\'')
        return false;
    for (char c : name)
        if (EndsWord(c) || c == '"')
            return false;
    return !IsNumberText(name.data(), name.size());
}

bool IsCapitalWord(const std::string& name)
{
    bool letter = false;
    for (char c : name) {
        if (c >= 'a' && c <= 'z')
            return false;
        letter = letter || (c >= 'A' && c <= 'Z');
    }
    return letter;
}

class Builder {
public:
    Builder(std::vector<zelKeywordS>& keywords, std::vector<zelSemanticS>& rows, std::vector<std::string>& errors,
            std::vector<RowSource>& sources)
        : m_keywords(keywords), m_rows(rows), m_errors(errors), m_sources(sources)
    {
    }

    void Build(const GrammarText& grammar)
    {
        m_keywords.clear();
        m_rows.clear();
        for (const FixedRow& row : kFixedRows)
            AddKeyword(row.name, row.type);

        DeclareNames(grammar);
        m_rows.push_back(zelSemanticS{kNoKeyword, 0, 0, kNoLink, kNoLink, nullptr});  // the row never linked to
        EmitGoals(grammar);
        for (const Rule& rule : grammar.rules)
            if (rule.kind == Rule::kForm)
                EmitFormRule(rule);
        while (!m_composites.empty()) {
            const Composite composite = m_composites.front();
            m_composites.pop_front();
            m_keywords[composite.keyword].semanticId = EmitAlternatives(*composite.alternatives);
        }
        if (m_errors.empty())
            CheckCompositeCycles();
        for (int kind : {static_cast<int>(kIdentKeyword), static_cast<int>(kIntKeyword), static_cast<int>(kRealKeyword),
                         static_cast<int>(kStringKeyword), m_wordRow})
            if (kind > 0 && NameShared(kind))
                SetName(kind, "<" + std::string(m_keywords[kind].name) + ">");
    }

private:
    struct Composite {
        int keyword;
        const std::vector<Sequence>* alternatives;
    };

    // The composites that composite k may enter before any token is read: those that
    // stand at the start of an alternative, or after optional elements only.
    std::vector<int> EnteredFirst(int k) const
    {
        std::vector<int> entered;
        for (int first = m_keywords[k].semanticId; first > 0; ++first) {
            for (int row = first; row > 0; row = m_rows[row].next) {
                const zelSemanticS& r = m_rows[row];
                if (m_keywords[r.keywordId].type == zelKW_COMPOSITE)
                    entered.push_back(r.keywordId);
                if ((r.semType & S_REQ) && row != first)
                    break;
            }
            if (m_rows[first].alt == kNoLink)
                break;
        }
        return entered;
    }

    // A composite that can enter itself before reading a token would make the parser
    // descend without end; such a grammar is refused.
    void CheckCompositeCycles()
    {
        const int count = static_cast<int>(m_keywords.size());
        std::vector<int> state(static_cast<size_t>(count), 0);  // 0 new, 1 on the path, 2 done
        for (const auto& entry : m_lines) {
            std::vector<std::pair<int, std::vector<int>>> path;
            if (state[entry.first] != 0)
                continue;
            state[entry.first] = 1;
            path.push_back({entry.first, EnteredFirst(entry.first)});
            while (!path.empty()) {
                if (path.back().second.empty()) {
                    state[path.back().first] = 2;
                    path.pop_back();
                    continue;
                }
                const int next = path.back().second.back();
                path.back().second.pop_back();
                if (state[next] == 1) {
                    Error(m_lines[next], "\"" + std::string(m_keywords[next].name) +
                                             "\" can enter itself before reading a token");
                    return;
                }
                if (state[next] == 0) {
                    state[next] = 1;
                    path.push_back({next, EnteredFirst(next)});
                }
            }
        }
    }

    static const char* KindName(Rule::Kind kind)
    {
        return kind == Rule::kForm ? "form" : kind == Rule::kChoice ? "choice" : kind == Rule::kValue ? "value" : "literal";
    }

    void Error(int line, const std::string& text) { m_errors.push_back("line " + std::to_string(line) + ": " + text); }

    void SetName(int k, const std::string& name)
    {
        std::memset(m_keywords[k].name, 0, sizeof m_keywords[k].name);
        std::strncpy(m_keywords[k].name, name.c_str(), sizeof m_keywords[k].name - 1);
    }

    // True when another keyword row has keyword k's name, in any letter case.
    bool NameShared(int k) const
    {
        for (size_t other = 0; other < m_keywords.size(); ++other)
            if (static_cast<int>(other) != k && strcasecmp(m_keywords[other].name, m_keywords[k].name) == 0)
                return true;
        return false;
    }

    int AddKeyword(const std::string& name, int type)
    {
        zelKeywordS keyword{};
        std::strncpy(keyword.name, name.c_str(), sizeof keyword.name - 1);
        keyword.accept = 1;
        keyword.type = type;
        m_keywords.push_back(keyword);
        return static_cast<int>(m_keywords.size()) - 1;
    }

    void DeclareNames(const GrammarText& grammar)
    {
        for (const Rule& rule : grammar.rules) {
            if (rule.name.size() > 255) {
                Error(rule.line, "name longer than 255 characters");
                continue;
            }
            if (IsAngleName(rule.name)) {
                Error(rule.line, "\"" + rule.name + "\" cannot be declared: angle brackets are kept for the built-in kinds");
                continue;
            }
            auto found = m_names.find(rule.name);
            if (found != m_names.end()) {
                const bool wasLiteral = m_kinds[found->second] == Rule::kLiteral;
                if (rule.kind == Rule::kLiteral && wasLiteral)
                    continue;
                if ((rule.kind == Rule::kLiteral) != wasLiteral) {
                    Error(rule.line, "\"" + rule.name + "\" is both a " + KindName(wasLiteral ? rule.kind : m_kinds[found->second]) +
                                         " and a literal: drop it from the literal statement and write \"" + rule.name +
                                         "\" in quotes where the literal is meant");
                    continue;
                }
                Error(rule.line, "duplicate keyword \"" + rule.name + "\"");
                continue;
            }
            int type = zelKW_FORM;
            if (rule.kind == Rule::kForm && !rule.hasRule)
                Error(rule.line, "form \"" + rule.name + "\" has no rule");
            if (rule.kind == Rule::kChoice)
                type = zelKW_COMPOSITE;
            if (rule.kind == Rule::kLiteral) {
                type = zelKW_LIT;
                if (!ReadsAsWord(rule.name)) {
                    Error(rule.line, "literal \"" + rule.name + "\" cannot be read as a word");
                    continue;
                }
            }
            if (rule.kind == Rule::kValue) {
                // A value's kind is always a built-in one, also where the grammar declares its name.
                const int builtin = BuiltinKeyword(rule.valueType);
                if (builtin == -1) {
                    Error(rule.line, "value \"" + rule.name + "\" must be ident, int, real, string or word");
                    continue;
                }
                type = builtin == kWordKind ? zelKW_WORDTOK : m_keywords[builtin].type;
            }
            const int id = AddKeyword(rule.name, type);
            m_names[rule.name] = id;
            m_kinds[id] = rule.kind;
            if (rule.kind == Rule::kLiteral)
                m_literals[rule.name] = id;
            if (rule.kind == Rule::kChoice) {
                m_composites.push_back({id, &rule.alternatives});
                m_lines[id] = rule.line;
            }
        }
    }

    void EmitGoals(const GrammarText& grammar)
    {
        if (grammar.goals.empty()) {
            Error(1, "the grammar names no goal form");
            return;
        }
        m_keywords[kGoalKeyword].semanticId = kFirstGoalRow;
        for (size_t i = 0; i < grammar.goals.size(); ++i) {
            const auto& goal = grammar.goals[i];
            auto found = m_names.find(goal.first);
            int keyword = kNoKeyword;
            if (found == m_names.end() && BuiltinKeyword(goal.first) == -1)
                Error(goal.second, "unknown keyword \"" + goal.first + "\"");
            else if (found == m_names.end() || m_keywords[found->second].type != zelKW_FORM)
                Error(goal.second, "goal \"" + goal.first + "\" is not a form");
            else
                keyword = found->second;
            const int row = kFirstGoalRow + static_cast<int>(i);
            const int alt = i + 1 < grammar.goals.size() ? row + 1 : kNoLink;
            m_rows.push_back(zelSemanticS{keyword, S_OPT, 0, alt, 0, nullptr});
            NoteSource(row, {goal.second, true});
        }
    }

    void EmitFormRule(const Rule& rule)
    {
        auto found = m_names.find(rule.name);
        if (found == m_names.end() || m_kinds[found->second] != Rule::kForm || !rule.hasRule)
            return;
        const int head = static_cast<int>(m_rows.size());
        m_keywords[found->second].semanticId = head;
        int last = -1;
        if (rule.alternatives.size() == 1) {
            for (const Element& element : rule.alternatives[0])
                last = EmitElement(element, AddRow(), last);
        } else {
            Element group;
            group.kind = Element::kGroup;
            group.alternatives = rule.alternatives;
            group.line = rule.line;
            m_formGroups.push_back(group);
            last = EmitElement(m_formGroups.back(), AddRow(), last);
        }
        const int end = AddRow();
        m_rows[end] = zelSemanticS{kEndOfFormRow, S_REQ, 0, kNoLink, kNoLink, nullptr};
        if (last >= 0)
            m_rows[last].next = end;
    }

    void NoteSource(int row, RowSource source)
    {
        m_sources.resize(m_rows.size());
        m_sources[static_cast<size_t>(row)] = source;
    }

    int AddRow()
    {
        m_rows.push_back(zelSemanticS{0, 0, 0, 0, 0, nullptr});
        return static_cast<int>(m_rows.size()) - 1;
    }

    // The text of a group as written, but for quotes, which stay only around a literal that
    // a form, choice, value or built-in kind of the same name stands beside.
    std::string GroupText(const Element& group)
    {
        std::string text;
        for (const Sequence& sequence : group.alternatives) {
            if (!text.empty())
                text += " | ";
            for (size_t i = 0; i < sequence.size(); ++i) {
                const Element& element = sequence[i];
                auto found = m_names.find(element.name);
                const bool shadowed = found != m_names.end() ? m_kinds[found->second] != Rule::kLiteral
                                                             : BuiltinKeyword(element.name) != -1;
                text += i ? " " : "";
                if (element.kind == Element::kGroup)
                    text += "(" + GroupText(element) + ")";
                else
                    text += element.kind == Element::kQuoted && shadowed ? "\"" + element.name + "\"" : element.name;
            }
        }
        return text;
    }

    // Resolves the keyword an element stands for; -1 after an error.
    int Resolve(const Element& element)
    {
        if (element.kind == Element::kGroup) {
            const int id = AddKeyword(("(" + GroupText(element) + ")").substr(0, 255), zelKW_COMPOSITE);
            m_composites.push_back({id, &element.alternatives});
            m_lines[id] = element.line;
            return id;
        }
        // A quoted name is always a literal; a bare one means a declared name first, then a
        // built-in kind, then an undeclared literal in capitals. WORD in capitals is such a
        // literal, so that grammars which use it as one keep their tables.
        if (element.kind == Element::kQuoted) {
            auto literal = m_literals.find(element.name);
            if (literal != m_literals.end())
                return literal->second;
        } else {
            auto found = m_names.find(element.name);
            if (found != m_names.end())
                return found->second;
            const int builtin = BuiltinKeyword(element.name);
            if (builtin == kWordKind && (IsAngleName(element.name) || !IsCapitalWord(element.name))) {
                if (m_wordRow < 0)
                    m_wordRow = AddKeyword("word", zelKW_WORDTOK);
                return m_wordRow;
            }
            if (builtin >= 0 && builtin != kWordKind)
                return builtin;
        }
        if (element.kind == Element::kQuoted || (IsCapitalWord(element.name) && !IsAngleName(element.name))) {
            if (element.name.empty() || element.name.size() > 255) {
                Error(element.line, "a literal name must have 1 to 255 characters");
                return -1;
            }
            if (!ReadsAsWord(element.name)) {
                Error(element.line, "literal \"" + element.name + "\" cannot be read as a word");
                return -1;
            }
            const int id = AddKeyword(element.name, zelKW_LIT);
            m_literals[element.name] = id;
            m_kinds[id] = Rule::kLiteral;
            // A later bare name means this literal too, unless it names a built-in kind.
            if (m_names.find(element.name) == m_names.end() && BuiltinKeyword(element.name) == -1)
                m_names[element.name] = id;
            return id;
        }
        Error(element.line, "unknown keyword \"" + element.name + "\"");
        return -1;
    }

    // Fills row with the element, adding a second row for "+"; links previous to it.
    // Returns the element's last row.
    int EmitElement(const Element& element, int row, int previous)
    {
        const int keyword = Resolve(element);
        if (previous >= 0)
            m_rows[previous].next = row;
        if (keyword < 0)
            return row;
        const int literal = m_keywords[keyword].type == zelKW_LIT ? S_LIT : 0;
        int flags = kRequired;
        if (element.modifier == '?')
            flags = S_OPT;
        else if (element.modifier == '*')
            flags = kRepeated;
        m_rows[row] = zelSemanticS{keyword, flags | literal, 0, 0, 0, nullptr};
        NoteSource(row, {element.line, flags == kRequired});
        if (element.modifier != '+')
            return row;
        const int repeat = AddRow();
        m_rows[repeat] = zelSemanticS{keyword, kRepeated | literal, 0, 0, 0, nullptr};
        NoteSource(repeat, {0, false});
        m_rows[row].next = repeat;
        return repeat;
    }

    // The alternatives of a composite: their first rows consecutive and chained by alt,
    // the rest of each sequence after them. The first element of an alternative is
    // optional, so that a composite that matches nothing fails without a report. A first
    // row that goes on, or repeats, carries the attribute bits that keep the rest of its
    // alternative its own: taking another alternative ends its level, and so does missing
    // an element that its alternative requires.
    int EmitAlternatives(const std::vector<Sequence>& alternatives)
    {
        const int head = static_cast<int>(m_rows.size());
        for (size_t i = 0; i < alternatives.size(); ++i)
            AddRow();
        for (size_t i = 0; i < alternatives.size(); ++i) {
            const int first = head + static_cast<int>(i);
            int last = -1;
            for (size_t j = 0; j < alternatives[i].size(); ++j)
                last = EmitElement(alternatives[i][j], j == 0 ? first : AddRow(), last);
            zelSemanticS& row = m_rows[first];
            if (row.next != kNoLink || (row.semType & S_REPG))
                row.attributes |= kAlternativeEndsLevel;
            if (row.semType & S_REQ) {
                row.semType = (row.semType & ~kRequired) | S_OPT;
                if (row.next != kNoLink)
                    row.attributes |= kUnmatchedEndsLevel;
            }
            if (i + 1 < alternatives.size())
                m_rows[first].alt = first + 1;
        }
        return head;
    }

    std::vector<zelKeywordS>& m_keywords;
    std::vector<zelSemanticS>& m_rows;
    std::vector<std::string>& m_errors;
    std::vector<RowSource>& m_sources;
    std::map<std::string, int, CaseLess> m_names;     // declared names, and literals in rules
    std::map<std::string, int, CaseLess> m_literals;  // every literal row by its name
    int m_wordRow = -1;                               // laid when a rule first uses it
    std::map<int, Rule::Kind> m_kinds;
    std::deque<Composite> m_composites;
    std::map<int, int> m_lines;  // line of each composite keyword
    std::deque<Element> m_formGroups;  // implicit groups of forms written with alternatives
};

}  // namespace

void BuildTables(const GrammarText& grammar, std::vector<zelKeywordS>& keywords, std::vector<zelSemanticS>& rows,
                 std::vector<std::string>& errors, std::vector<RowSource>& sources)
{
    sources.clear();
    Builder builder(keywords, rows, errors, sources);
    builder.Build(grammar);
    sources.resize(rows.size());
}

}  // namespace zel
