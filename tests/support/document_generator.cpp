// Unambiguous random grammars, and valid and refused documents drawn from compiled tables.
#include "support/document_generator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <strings.h>

#include "core/conventions.h"
#include "support/generate.h"

namespace zeltest {

namespace {

// --- Grammar texts

// An element in the grammar language with the token classes that can start it.
struct GrammarElement {
    std::string text;
    std::set<std::string> first;
};

struct GrammarMaker {
    Rng& s;
    int forms = 0;
    std::vector<std::string> valueKinds;               // of value v0, v1, ...
    std::vector<std::set<std::string>> choiceClasses;  // of choice c0, c1, ...
    std::set<std::string> used;                        // classes taken in the rule being made
    int form = 0;                                      // the form whose rule is being made

    explicit GrammarMaker(Rng& rng) : s(rng) {}

    // Under the extended rules a literal's word is also taken by an identifier element.
    static bool HoldsLiteral(const std::set<std::string>& classes)
    {
        for (const std::string& c : classes)
            if (c[0] == 'L')
                return true;
        return false;
    }

    static std::string ClassOf(const std::string& kind)
    {
        return kind == "int" || kind == "real" ? "num" : kind;
    }

    // An element whose classes are still free in the rule, without a modifier; empty when
    // the tries found none. A form before or at the current one may only be written
    // optional, so that every document ends.
    GrammarElement Atom(int nesting, bool required)
    {
        for (int tries = 0; tries < 8; ++tries) {
            GrammarElement e;
            const uint32_t kind = s.Pick(nesting < 2 ? 10 : 8);
            if (kind < 3) {
                static const char* const kinds[] = {"int", "real", "integer", "ident", "string"};
                const std::string name = kinds[s.Pick(5)];
                if (!valueKinds.empty() && s.Chance(30)) {
                    const uint32_t v = s.Pick(static_cast<uint32_t>(valueKinds.size()));
                    e.first = {ClassOf(valueKinds[v])};
                    e.text = "v" + std::to_string(v);
                } else {
                    e.first = {ClassOf(name == "integer" ? "int" : name)};
                    e.text = name;
                }
            } else if (kind < 5) {
                e.text = "K" + std::to_string(s.Pick(8));
                e.first = {"L" + e.text};
            } else if (kind < 7) {
                const int j = static_cast<int>(s.Pick(static_cast<uint32_t>(forms)));
                if (required && j <= form)
                    continue;
                e.text = "f" + std::to_string(j) + (j <= form ? (s.Chance(50) ? "?" : "*") : "");
                e.first = {"F" + std::to_string(j)};
            } else if (kind < 8) {
                if (choiceClasses.empty())
                    continue;
                const uint32_t c = s.Pick(static_cast<uint32_t>(choiceClasses.size()));
                e.text = "c" + std::to_string(c);
                e.first = choiceClasses[c];
            } else {
                std::set<std::string> before = used;
                const std::string alternatives = Alternatives(nesting + 1);
                if (alternatives.empty()) {
                    used = before;
                    continue;
                }
                e.text = "(" + alternatives + ")";
                for (const std::string& c : used)
                    if (!before.count(c))
                        e.first.insert(c);
                used = before;  // taken again below, with the other classes
                if (HoldsLiteral(e.first) && e.first.count("ident"))
                    continue;
            }
            bool free = true;
            for (const std::string& c : e.first)
                free = free && !used.count(c) && !(c == "ident" && HoldsLiteral(used)) &&
                       !(c[0] == 'L' && used.count("ident"));
            if (!free)
                continue;
            used.insert(e.first.begin(), e.first.end());
            return e;
        }
        return {};
    }

    static bool HasModifier(const std::string& text) { return std::strchr("?*+", text.back()) != nullptr; }

    std::string WithModifier(const GrammarElement& e, const char* modifiers)
    {
        return HasModifier(e.text) || !s.Chance(45) ? e.text : e.text + modifiers[s.Pick(static_cast<uint32_t>(std::strlen(modifiers)))];
    }

    // One alternative of a group or choice: a required element first and anything after
    // it, or optional elements and one required element last.
    std::string CompositeAlternative(int nesting)
    {
        std::string text;
        if (s.Chance(60)) {
            const GrammarElement first = Atom(nesting, true);
            if (first.text.empty())
                return "";
            text = s.Chance(20) ? first.text + "+" : first.text;
            for (uint32_t n = s.Pick(3); n > 0; --n) {
                const GrammarElement e = Atom(nesting, false);
                if (!e.text.empty())
                    text += " " + WithModifier(e, "?*+");
            }
            return text;
        }
        for (uint32_t n = 1 + s.Pick(2); n > 0; --n) {
            const GrammarElement e = Atom(nesting, false);
            if (!e.text.empty())
                text += (text.empty() ? "" : " ") + (HasModifier(e.text) ? e.text : e.text + (s.Chance(50) ? "?" : "*"));
        }
        const GrammarElement last = Atom(nesting, true);
        if (last.text.empty())
            return "";
        return text + (text.empty() ? "" : " ") + last.text;
    }

    std::string Alternatives(int nesting)
    {
        std::string text;
        for (uint32_t n = 2 + s.Pick(2); n > 0; --n) {
            const std::string alternative = CompositeAlternative(nesting);
            if (!alternative.empty())
                text += (text.empty() ? "" : " | ") + alternative;
        }
        return text;
    }

    std::string Make()
    {
        forms = 1 + static_cast<int>(s.Pick(5));
        std::string text = "goal f0" + std::string(forms > 1 && s.Chance(40) ? " | f1" : "") + " ;\n";
        for (uint32_t v = s.Pick(3); v > 0; --v) {
            static const char* const kinds[] = {"int", "real", "ident", "string"};
            valueKinds.push_back(kinds[s.Pick(4)]);
            text += "value v" + std::to_string(valueKinds.size() - 1) + " = " + valueKinds.back() + " ;\n";
        }
        // A choice is made of literals of its own, so that it meets nothing in the rules using it.
        for (uint32_t c = s.Pick(3); c > 0; --c) {
            std::string alternatives;
            std::set<std::string> classes;
            const std::string prefix = "C" + std::to_string(choiceClasses.size());
            for (uint32_t a = 2 + s.Pick(2), letter = 0; a > 0; --a) {
                std::string alternative = prefix + static_cast<char>('A' + letter++);
                classes.insert("L" + alternative);
                if (s.Chance(40))
                    alternative += " " + prefix + static_cast<char>('A' + letter++) + (s.Chance(50) ? "?" : "");
                alternatives += (alternatives.empty() ? "" : " | ") + alternative;
            }
            choiceClasses.push_back(classes);
            text += "choice c" + std::to_string(choiceClasses.size() - 1) + " = " + alternatives + " ;\n";
        }
        for (form = 0; form < forms; ++form) {
            used.clear();
            std::string rule;
            if (s.Chance(20))
                rule = Alternatives(1);
            if (rule.empty()) {
                used.clear();
                for (uint32_t n = s.Pick(5); n > 0; --n) {
                    const GrammarElement e = Atom(0, false);
                    if (!e.text.empty())
                        rule += (rule.empty() ? "" : " ") + WithModifier(e, "?*+");
                }
                if (rule.empty())
                    rule = "KZ?";
            }
            text += "form f" + std::to_string(form) + " = " + rule + " ;\n";
        }
        return text;
    }
};

// --- Documents

// A form written so far, and what its rule allows a mutation to do with it.
struct FormRecord {
    int keyword = 0;
    size_t open = 0;                                   // token "(name"
    size_t close = 0;                                  // its ")"
    std::vector<std::pair<size_t, size_t>> children;   // token ranges of its own items
};

struct DocumentMaker {
    const zelParserS& g;
    Rng& s;
    std::vector<std::string> tokens;
    std::vector<IntendedNode> tree;
    std::vector<FormRecord> forms;
    std::vector<size_t> open;  // indices into forms of the forms being written
    bool failed = false;
    int serial = 0;

    const zelSemanticS& Row(int e) const { return g.semTable[e]; }
    const zelKeywordS& Keyword(int k) const { return g.kwTable[k]; }
    int Depth() const { return static_cast<int>(open.size()); }
    bool Deep() const { return Depth() >= 4 || tokens.size() > 80; }

    bool IsKeyword(const std::string& word) const
    {
        for (int k = 0; k < g.kwCount; ++k)
            if (strcasecmp(Keyword(k).name, word.c_str()) == 0)
                return true;
        return false;
    }

    // A value or literal token, an item of the innermost form.
    void Item(const std::string& text, int keyword, int type, const std::string& value)
    {
        tree.push_back({Depth(), keyword, type, value});
        tokens.push_back(text);
        forms[open.back()].children.push_back({tokens.size() - 1, tokens.size()});
    }

    void Value(int keyword)
    {
        const int type = Keyword(keyword).type;
        const int n = static_cast<int>(s.Pick(2001)) - 1000;
        char real[64];
        switch (type) {
        case zelKW_INTTOK:
            return Item(std::to_string(n), keyword, type, std::to_string(n));
        case zelKW_REALTOK: {
            const std::string text = s.Chance(30) ? std::to_string(n) : std::to_string(n) + "." + std::to_string(25 * s.Pick(4));
            std::snprintf(real, sizeof real, "%.17g", std::strtod(text.c_str(), nullptr));
            return Item(text, keyword, type, real);
        }
        case zelKW_IDENT: {
            std::string word = "n" + std::to_string(++serial);
            while (IsKeyword(word))
                word += "x";
            return Item(word, keyword, type, word);
        }
        case zelKW_STRTOK: {
            const std::string text = "s " + std::to_string(++serial);
            return Item("\"" + text + "\"", keyword, type, text);
        }
        case zelKW_LIT:
            return Item(Keyword(keyword).name, keyword, type, "");
        default:
            failed = true;  // a kind this generator does not write
        }
    }

    void Form(int keyword)
    {
        if (Depth() > 24) {
            failed = true;
            return;
        }
        const size_t first = tokens.size(), record = forms.size();
        tree.push_back({Depth(), keyword, zelKW_FORM, ""});
        tokens.push_back(std::string("(") + Keyword(keyword).name);
        forms.push_back({keyword, first, 0, {}});
        open.push_back(record);
        Sequence(Keyword(keyword).semanticId, false);
        open.pop_back();
        tokens.push_back(")");
        forms[record].close = tokens.size() - 1;
        if (!open.empty())
            forms[open.back()].children.push_back({first, tokens.size()});
    }

    // How often the element of row e occurs; the first row of an alternative is marked
    // optional by the compiler also when its alternative requires it.
    uint32_t Count(int e, bool firstOfAlternative)
    {
        const zelSemanticS& row = Row(e);
        if (row.semType & S_REPG)
            return Deep() ? 0 : s.Pick(4);
        if (row.semType & S_REQ)
            return 1;
        if (firstOfAlternative && (row.next == zel::kNoLink || (row.attributes & zel::kUnmatchedEndsLevel)))
            return 1;
        return Deep() ? 0 : s.Pick(2);
    }

    void Sequence(int e, bool firstOfAlternative)
    {
        for (; e != zel::kNoLink && !failed; e = Row(e).next, firstOfAlternative = false) {
            const int keyword = Row(e).keywordId;
            if (keyword == zel::kEndOfFormRow)
                return;
            for (uint32_t n = Count(e, firstOfAlternative); n > 0 && !failed; --n) {
                const int type = Keyword(keyword).type;
                if (type == zelKW_FORM)
                    Form(keyword);
                else if (type == zelKW_COMPOSITE)
                    Sequence(PickAlternative(Keyword(keyword).semanticId), true);
                else
                    Value(keyword);
            }
        }
    }

    int PickAlternative(int head)
    {
        std::vector<int> firsts;
        for (int e = head; e != zel::kNoLink; e = Row(e).alt)
            firsts.push_back(e);
        return firsts[s.Pick(static_cast<uint32_t>(firsts.size()))];
    }

    // --- Mutations

    // The keyword types that some element of the rule of form keyword takes, looking into
    // its composites but not into its forms.
    std::set<int> TakenTypes(int keyword) const
    {
        std::set<int> types, seen;
        std::vector<int> todo{Keyword(keyword).semanticId};
        while (!todo.empty()) {
            const int e = todo.back();
            todo.pop_back();
            if (e == zel::kNoLink || !seen.insert(e).second)
                continue;
            const int type = Keyword(Row(e).keywordId).type;
            types.insert(type);
            todo.push_back(Row(e).next);
            todo.push_back(Row(e).alt);
            if (type == zelKW_COMPOSITE)
                todo.push_back(Keyword(Row(e).keywordId).semanticId);
        }
        return types;
    }

    // True when the rule of form keyword is a list of required single items before its ")".
    bool FixedList(int keyword) const
    {
        int e = Keyword(keyword).semanticId;
        for (; e != zel::kNoLink && Row(e).keywordId != zel::kEndOfFormRow; e = Row(e).next) {
            const zelSemanticS& row = Row(e);
            if (!(row.semType & S_REQ) || row.alt != zel::kNoLink || Keyword(row.keywordId).type == zelKW_COMPOSITE)
                return false;
        }
        return e != zel::kNoLink;
    }

    bool NeedsContent(int keyword) const
    {
        const zelSemanticS& row = Row(Keyword(keyword).semanticId);
        return (row.semType & S_REQ) && row.keywordId != zel::kEndOfFormRow &&
               Keyword(row.keywordId).type != zelKW_COMPOSITE;
    }

    std::string Text(const std::vector<std::string>& list)
    {
        static const char* const gaps[] = {" ", " ", "\n", "  "};
        std::string text;
        for (const std::string& token : list)
            text += (text.empty() ? "" : gaps[s.Pick(4)]) + token;
        return text + "\n";
    }

    // A mutation of one form the document holds; empty when the kind picked does not
    // apply to that form.
    std::string Mutation(const FormRecord& f)
    {
        std::vector<std::string> out;
        const std::set<int> taken = TakenTypes(f.keyword);
        std::vector<std::string> foreign{"(zzunknown)"};
        if (!taken.count(zelKW_STRTOK))
            foreign.push_back("\"zz\"");
        if (!taken.count(zelKW_REALTOK)) {
            foreign.push_back("2.5");
            if (!taken.count(zelKW_INTTOK))
                foreign.push_back("7");
        }
        switch (s.Pick(3)) {
        case 0: {
            // Something foreign after the keyword or after one of the form's own items.
            size_t at = f.open + 1;
            if (!f.children.empty() && s.Chance(70))
                at = f.children[s.Pick(static_cast<uint32_t>(f.children.size()))].second;
            out.assign(tokens.begin(), tokens.begin() + static_cast<long>(at));
            out.push_back(foreign[s.Pick(static_cast<uint32_t>(foreign.size()))]);
            out.insert(out.end(), tokens.begin() + static_cast<long>(at), tokens.end());
            return Text(out);
        }
        case 1: {
            if (!FixedList(f.keyword) || f.children.empty())
                return "";
            const auto drop = f.children[s.Pick(static_cast<uint32_t>(f.children.size()))];
            out.assign(tokens.begin(), tokens.begin() + static_cast<long>(drop.first));
            out.insert(out.end(), tokens.begin() + static_cast<long>(drop.second), tokens.end());
            return Text(out);
        }
        default:
            if (!NeedsContent(f.keyword))
                return "";
            out.assign(tokens.begin(), tokens.begin() + static_cast<long>(f.open) + 1);
            out.insert(out.end(), tokens.begin() + static_cast<long>(f.close), tokens.end());
            return Text(out);
        }
    }
};

}  // namespace

std::string GenerateUnambiguousGrammar(Rng& s) { return GrammarMaker(s).Make(); }

GeneratedDocument GenerateValidDocument(const zelParserS& grammar, Rng& s)
{
    DocumentMaker maker{grammar, s, {}, {}, {}, {}};
    GeneratedDocument document;
    std::vector<int> goals;
    for (int e = zel::kFirstGoalRow; e != zel::kNoLink; e = grammar.semTable[e].alt)
        goals.push_back(grammar.semTable[e].keywordId);
    for (uint32_t n = 1 + s.Pick(3); n > 0 && !maker.failed; --n)
        maker.Form(goals[s.Pick(static_cast<uint32_t>(goals.size()))]);
    if (maker.failed)
        return document;
    document.text = maker.Text(maker.tokens);
    document.tree = maker.tree;
    for (int tries = 0; tries < 6 && document.refused.size() < 3; ++tries) {
        const std::string mutated = maker.Mutation(maker.forms[s.Pick(static_cast<uint32_t>(maker.forms.size()))]);
        if (!mutated.empty())
            document.refused.push_back(mutated);
    }
    return document;
}

std::vector<IntendedNode> ParsedTree(const CZelParser& parser)
{
    std::vector<IntendedNode> tree;
    for (const auto& [node, depth] : Walk(parser)) {
        const int type = node->GetObjType();
        std::string value;
        char real[64];
        if (type == zelKW_INTTOK)
            value = std::to_string(node->GetIntval());
        if (type == zelKW_REALTOK) {
            std::snprintf(real, sizeof real, "%.17g", node->GetRealval());
            value = real;
        }
        if (type == zelKW_IDENT && node->GetIdent())
            value = node->GetIdent();
        if (type == zelKW_STRTOK && node->GetStrval())
            value = node->GetStrval();
        tree.push_back({depth, node->GetKeywordId(), type, value});
    }
    return tree;
}

std::string TreeText(const std::vector<IntendedNode>& tree)
{
    std::string text;
    for (const IntendedNode& n : tree)
        text += std::string(2 * static_cast<size_t>(n.depth), ' ') + std::to_string(n.keyword) + " type " +
                std::to_string(n.type) + " " + n.value + "\n";
    return text;
}

}  // namespace zeltest
