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
#include "support/test_grammars.h"

namespace zeltest {

namespace {

void Add(std::string& text, const char* separator, const std::string& piece)
{
    text += (text.empty() ? "" : separator) + piece;
}

std::string Real(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string NodeLine(int depth, int keyword, int type, const std::string& value)
{
    return std::string(2 * static_cast<size_t>(depth), ' ') + std::to_string(keyword) + " type " + std::to_string(type) +
           " " + value + "\n";
}

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
        return std::any_of(classes.begin(), classes.end(), [](const std::string& c) { return c[0] == 'L'; });
    }

    static std::string ClassOf(const std::string& kind) { return kind == "string" || kind == "ident" ? kind : "num"; }

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
                const std::string name = OneOf(s, kinds);
                const bool declared = !valueKinds.empty() && s.Chance(30);
                const uint32_t v = declared ? s.Pick(static_cast<uint32_t>(valueKinds.size())) : 0;
                e.text = declared ? "v" + std::to_string(v) : name;
                e.first = {ClassOf(declared ? valueKinds[v] : name)};
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
                // A group: its classes are those its alternatives took; they are taken again
                // below, with the other classes.
                std::set<std::string> before = used;
                const std::string alternatives = Alternatives(nesting + 1);
                for (const std::string& c : used)
                    if (!before.count(c))
                        e.first.insert(c);
                used.swap(before);
                if (alternatives.empty() || (HoldsLiteral(e.first) && e.first.count("ident")))
                    continue;
                e.text = "(" + alternatives + ")";
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
                Add(text, " ", HasModifier(e.text) ? e.text : e.text + (s.Chance(50) ? "?" : "*"));
        }
        const GrammarElement last = Atom(nesting, true);
        if (last.text.empty())
            return "";
        Add(text, " ", last.text);
        return text;
    }

    std::string Alternatives(int nesting)
    {
        std::string text;
        for (uint32_t n = 2 + s.Pick(2); n > 0; --n)
            if (const std::string alternative = CompositeAlternative(nesting); !alternative.empty())
                Add(text, " | ", alternative);
        return text;
    }

    std::string Make()
    {
        forms = 1 + static_cast<int>(s.Pick(5));
        std::string text = "goal f0" + std::string(forms > 1 && s.Chance(40) ? " | f1" : "") + " ;\n";
        for (uint32_t v = s.Pick(3); v > 0; --v) {
            static const char* const kinds[] = {"int", "real", "ident", "string"};
            valueKinds.push_back(OneOf(s, kinds));
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
                Add(alternatives, " | ", alternative);
            }
            choiceClasses.push_back(classes);
            text += "choice c" + std::to_string(choiceClasses.size() - 1) + " = " + alternatives + " ;\n";
        }
        for (form = 0; form < forms; ++form) {
            used.clear();
            std::string rule = s.Chance(20) ? Alternatives(1) : "";
            if (rule.empty()) {
                used.clear();
                for (uint32_t n = s.Pick(5); n > 0; --n)
                    if (const GrammarElement e = Atom(0, false); !e.text.empty())
                        Add(rule, " ", WithModifier(e, "?*+"));
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
    std::string tree;
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
        tree += NodeLine(Depth(), keyword, type, value);
        tokens.push_back(text);
        forms[open.back()].children.push_back({tokens.size() - 1, tokens.size()});
    }

    void Value(int keyword)
    {
        const int type = Keyword(keyword).type;
        const int n = static_cast<int>(s.Pick(2001)) - 1000;
        switch (type) {
        case zelKW_INTTOK:
            return Item(std::to_string(n), keyword, type, std::to_string(n));
        case zelKW_REALTOK: {
            const std::string text = s.Chance(30) ? std::to_string(n) : std::to_string(n) + "." + std::to_string(25 * s.Pick(4));
            return Item(text, keyword, type, Real(std::strtod(text.c_str(), nullptr)));
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
        tree += NodeLine(Depth(), keyword, zelKW_FORM, "");
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
        return OneOf(s, firsts);
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
            Add(text, OneOf(s, gaps), token);
        return text + "\n";
    }

    // The text of the tokens with those from..to replaced by insert.
    std::string Spliced(size_t from, size_t to, const std::vector<std::string>& insert = {})
    {
        std::vector<std::string> out(tokens.begin(), tokens.begin() + static_cast<long>(from));
        out.insert(out.end(), insert.begin(), insert.end());
        out.insert(out.end(), tokens.begin() + static_cast<long>(to), tokens.end());
        return Text(out);
    }

    // A mutation of one form the document holds; empty when the kind picked does not
    // apply to that form.
    std::string Mutation(const FormRecord& f)
    {
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
        case 0: {  // something foreign after the keyword or after one of the form's own items
            const size_t at = !f.children.empty() && s.Chance(70) ? OneOf(s, f.children).second : f.open + 1;
            return Spliced(at, at, {OneOf(s, foreign)});
        }
        case 1: {
            if (!FixedList(f.keyword) || f.children.empty())
                return "";
            const auto drop = OneOf(s, f.children);
            return Spliced(drop.first, drop.second);
        }
        default:
            return NeedsContent(f.keyword) ? Spliced(f.open + 1, f.close) : "";
        }
    }
};

}  // namespace

std::string GenerateUnambiguousGrammar(Rng& s) { return GrammarMaker(s).Make(); }

GeneratedDocument GenerateValidDocument(const zelParserS& grammar, Rng& s)
{
    DocumentMaker maker{grammar, s, {}, {}, {}, {}};
    std::vector<int> goals;
    for (int e = zel::kFirstGoalRow; e != zel::kNoLink; e = grammar.semTable[e].alt)
        goals.push_back(grammar.semTable[e].keywordId);
    for (uint32_t n = 1 + s.Pick(3); n > 0 && !maker.failed; --n)
        maker.Form(OneOf(s, goals));
    if (maker.failed)
        return {};
    GeneratedDocument document{maker.Text(maker.tokens), maker.tree, {}};
    for (int tries = 0; tries < 6 && document.refused.size() < 3; ++tries)
        if (const std::string mutated = maker.Mutation(OneOf(s, maker.forms)); !mutated.empty())
            document.refused.push_back(mutated);
    return document;
}

std::string TreeText(const CZelParser& parser)
{
    std::string text;
    for (const auto& [node, depth] : Walk(parser)) {
        const int type = node->GetObjType();
        std::string value = type == zelKW_INTTOK ? std::to_string(node->GetIntval())
                            : type == zelKW_REALTOK ? Real(node->GetRealval())
                                                    : "";
        if (type == zelKW_IDENT && node->GetIdent())
            value = node->GetIdent();
        if (type == zelKW_STRTOK && node->GetStrval())
            value = node->GetStrval();
        text += NodeLine(depth, node->GetKeywordId(), type, value);
    }
    return text;
}

std::string CheckDocument(zelParserS* grammar, const GeneratedDocument& document, int extended, int engine,
                          const std::string& file)
{
    RecordingParser parser(grammar, 16, 1024, 0, extended);
    WriteText(file, document.text);
    const int errors = parser.Parse(file.c_str(), engine);
    if (errors != 0 || !parser.reports.empty() || TreeText(parser) != document.tree)
        return "-- document:\n" + document.text + "-- first message: " + (parser.reports.empty() ? "none" : parser.reports[0]) +
               "\n-- expected:\n" + document.tree + "-- found:\n" + TreeText(parser);
    for (const std::string& mutated : document.refused) {
        RecordingParser other(grammar, 16, 1024, 0, extended);
        WriteText(file, mutated);
        if (other.Parse(file.c_str(), engine) == 0)
            return "-- valid:\n" + document.text + "-- accepted mutation:\n" + mutated;
    }
    return "";
}

}  // namespace zeltest
