// Generated grammars and documents, tree descriptions and the round-trip checks.
#include "support/generate.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <strings.h>

#include "support/components.h"

namespace zeltest {

namespace {

std::string RandomCase(std::string word, Rng& s)
{
    for (char& c : word)
        if (s.Chance(30))
            c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c));
    return word;
}

std::string Chars(Rng& s, size_t least, size_t most, const char* set)
{
    std::string out;
    for (size_t n = least + s.Pick(static_cast<uint32_t>(most - least + 1)); n > 0; --n)
        out += set[s.Pick(static_cast<uint32_t>(std::strlen(set)))];
    return out;
}

std::string Unquoted(const std::string& literal)
{
    return literal[0] == '"' ? literal.substr(1, literal.size() - 2) : literal;
}

// --- Grammar generation

const char* const kLiterals[] = {"ON", "NONE", "IN-OUT", "E5", "A1", "\"light-grey\"", "\"x.y\""};
const char* const kValueKinds[] = {"ident", "int", "real", "string", "integer"};
const char* const kDeclaredKinds[] = {"ident", "int", "real", "string", "integer", "word"};

struct GrammarMaker {
    Rng& s;
    GenGrammar& g;
    int forms, choices, values;

    std::string Form(int i) const { return (i % 2 ? "cell" : "design") + std::to_string(i); }

    GenElement Literal()
    {
        return {GenElement::kLiteral, !g.literals.empty() && s.Chance(40) ? OneOf(s, g.literals) : OneOf(s, kLiterals), {}};
    }

    // An element of form i's rule (or of a choice when choice is set). Forms are referred
    // to as required elements only forwards, so every document has an end.
    GenElement Element(int i, int nesting, bool choice)
    {
        const uint32_t kind = s.Pick(choice ? 60 : 100);
        GenElement e;
        if (kind < 30) {
            e.name = OneOf(s, kValueKinds);
        } else if (kind < 45) {
            e = Literal();
        } else if (kind < 60 || (kind < 85 && !choices && !values) || (kind >= 85 && nesting >= 2)) {
            const int j = static_cast<int>(s.Pick(static_cast<uint32_t>(forms)));
            e = {GenElement::kRef, Form(j), {}};
            if (j <= i && !choice)
                e.modifier = s.Chance(50) ? '?' : '*';
        } else if (kind < 85) {
            const bool useChoice = choices && (!values || s.Chance(50));
            e = {GenElement::kRef, (useChoice ? "pick" : "val") + std::to_string(s.Pick(useChoice ? choices : values)), {}};
        } else {
            e.kind = GenElement::kGroup;
            for (uint32_t a = 2 + s.Pick(2); a > 0; --a)
                e.alternatives.push_back(Sequence(i, nesting + 1, 1, 3));
        }
        if (!choice && !e.modifier && s.Chance(40))
            e.modifier = OneOf(s, "?*+");
        return e;
    }

    GenSequence Sequence(int i, int nesting, uint32_t least, uint32_t most)
    {
        GenSequence seq;
        for (uint32_t n = least + s.Pick(most - least + 1); n > 0; --n)
            seq.push_back(Element(i, nesting, false));
        return seq;
    }

    void Make()
    {
        for (uint32_t n = s.Pick(3); n > 0; --n)
            g.literals.push_back(s.Chance(50) ? "solid" : "in");
        for (int i = 0; i < forms; ++i) {
            GenRule rule{GenRule::kForm, Form(i), {}, {}};
            for (uint32_t a = s.Chance(15) ? 2 + s.Pick(2) : 0; a > 0; --a)
                rule.alternatives.push_back(Sequence(i, 1, 1, 2));
            if (rule.alternatives.empty())
                rule.alternatives.push_back(Sequence(i, 0, s.Chance(10) ? 0 : 1, 5));
            g.rules.push_back(rule);
        }
        for (int c = 0; c < choices; ++c) {
            // The first alternative reads no form, so a document can always end there.
            GenRule rule{GenRule::kChoice, "pick" + std::to_string(c), {}, {}};
            rule.alternatives.push_back({s.Chance(50) ? Literal() : GenElement{GenElement::kValue, OneOf(s, kValueKinds), {}}});
            for (uint32_t a = 1 + s.Pick(3); a > 0; --a)
                rule.alternatives.push_back({Element(forms, 2, true)});
            g.rules.push_back(rule);
        }
        for (int v = 0; v < values; ++v)
            g.rules.push_back({GenRule::kValue, "val" + std::to_string(v), {}, OneOf(s, kDeclaredKinds)});
        g.goals.push_back(Form(0));
        if (forms > 1 && s.Chance(40))
            g.goals.push_back(Form(1 + static_cast<int>(s.Pick(static_cast<uint32_t>(forms - 1)))));
    }
};

// Alternatives in the grammar language, each element after a blank.
std::string AlternativesText(const std::vector<GenSequence>& alternatives)
{
    std::string text;
    for (size_t a = 0; a < alternatives.size(); ++a) {
        text += a ? " |" : "";
        for (const GenElement& e : alternatives[a])
            text += " " + (e.kind == GenElement::kGroup ? "(" + AlternativesText(e.alternatives) + ")" : e.name) +
                    (e.modifier ? std::string(1, e.modifier) : "");
    }
    return text;
}

std::string GrammarText(const GenGrammar& g)
{
    std::string text = "goal " + g.goals[0] + (g.goals.size() > 1 ? " | " + g.goals[1] : "") + " ;\n";
    for (const GenRule& rule : g.rules) {
        static const char* const kinds[] = {"form", "choice", "value"};
        text += std::string(kinds[rule.kind]) + " " + rule.name + " =";
        text += (rule.kind == GenRule::kValue ? " " + rule.valueType : AlternativesText(rule.alternatives)) + " ;\n";
    }
    for (const std::string& literal : g.literals)
        text += "literal " + literal + " ;\n";
    return text;
}

// --- Messy values, as written in a document or given to the editing operations

std::string MessyIdent(const GenGrammar& g, Rng& s)
{
    static const char* const pool[] = {"a.b", "a-b", "&1", "&a-b", "E12", "e5", "a;b", "x#y", "n'1",
                                       "'a b'", "1", "-", "x(y", "caf\xc3\xa9", "a-1"};
    if (s.Chance(60))
        return Chars(s, 1, 1, "abcdefghijklmnopqrstuvwxyzABCDFGHIJKLMNOPQRSTUVWXYZ_") +
               Chars(s, 0, 8, "abcdefghijklmnopqrstuvwxyz0123456789_");
    if (!s.Chance(30))
        return OneOf(s, pool);
    // A name of the grammar: a rule, a literal, a literal of another grammar.
    std::vector<std::string> names(g.literals);
    for (const GenRule& r : g.rules)
        names.push_back(r.name);
    for (const char* l : kLiterals)
        names.push_back(Unquoted(l));
    return RandomCase(OneOf(s, names), s);
}

// Integers: odd spellings and values at and past the 32-bit limits. Reals: odd spellings,
// values past the double range, and 1 to 17 significant digits at a magnitude from 1e-9 to
// 1e12 in fixed notation.
std::string MessyNumber(Rng& s, bool real)
{
    static const char* const ints[] = {"-0", "+5", "007", "2147483647", "-2147483648", "2147483648",
                                       "-2147483649", "99999999999", "+", "1-2"};
    static const char* const reals[] = {"1.", ".", "-.5", "1.2.3", "1E5", "2.5E-3", "-0.0", "1E-400", "1E400",
                                        "123456789012345678901234567890.5"};
    if (!real)
        return s.Chance(40) ? OneOf(s, ints)
                            : std::to_string(s.Chance(50) ? static_cast<int32_t>(s.Next()) : static_cast<int>(s.Pick(200001)) - 100000);
    if (s.Chance(20))
        return OneOf(s, reals);
    const std::string digits = Chars(s, 1, 1, "123456789") + Chars(s, 0, 16, "0123456789");
    const int point = static_cast<int>(s.Pick(22)) - 9;  // digits before the point
    const size_t size = digits.size();
    std::string text = point <= 0 ? "0." + std::string(static_cast<size_t>(-point), '0') + digits
                       : static_cast<size_t>(point) >= size ? digits + std::string(point - size, '0') + ".0"
                                                            : digits.substr(0, point) + "." + digits.substr(point);
    return (s.Chance(30) ? "-" : "") + text;
}

// Words as real files hold them: hexadecimal stamps, identifiers starting with digits,
// integers past 32 bits, and messy identifiers and numbers.
std::string MessyWord(const GenGrammar& g, Rng& s)
{
    static const char* const pool[] = {"5E258953", "4c5af0f2-7fc3-11e9", "1234-5678", "2397562737", "&1", "&", "'1'", "&-"};
    const uint32_t kind = s.Pick(3);
    return kind == 0 ? OneOf(s, pool) : kind == 1 ? MessyIdent(g, s) : MessyNumber(s, s.Chance(50));
}

std::string MessyString(Rng& s)
{
    static const char* const pool[] = {"", " lead", "a)b(", "two\nlines", "tab\there", ";semi", "'apos'",
                                       "end\\", "C:\\\\", "q\\\"uote", "\"", "trail "};
    return s.Chance(50) ? Chars(s, 0, 20, "abcdefghij klmnopqrstuvwxyz0123456789.,:-_+*/!?()[]{}<>=&%$@;#'") : OneOf(s, pool);
}

// --- Document generation

struct DocumentMaker {
    const GenGrammar& g;
    Rng& s;
    std::vector<std::string> tokens;
    static const int kDeepest = 4;
    // Past this depth or size only what is required is written.
    bool Deep(int depth) const { return depth >= kDeepest || tokens.size() > 60; }

    void Value(const std::string& kind)
    {
        tokens.push_back(kind == "ident" ? MessyIdent(g, s) : kind == "word" ? MessyWord(g, s)
                         : kind == "string" ? "\"" + MessyString(s) + "\"" : MessyNumber(s, kind == "real" && s.Chance(70)));
    }

    void Sequence(const GenSequence& seq, int depth)
    {
        for (const GenElement& e : seq) {
            const bool deep = Deep(depth);
            uint32_t count = e.modifier == '?' ? (deep ? 0 : s.Pick(2)) : e.modifier == '*' ? (deep ? 0 : s.Pick(4))
                             : e.modifier == '+' ? (deep ? 1 : 1 + s.Pick(3)) : 1;
            while (count-- > 0)
                One(e, depth);
        }
    }

    void One(const GenElement& e, int depth)
    {
        if (e.kind == GenElement::kValue)
            return Value(e.name);
        if (e.kind == GenElement::kLiteral)
            return tokens.push_back(RandomCase(Unquoted(e.name), s));
        if (e.kind == GenElement::kGroup)
            return Sequence(OneOf(s, e.alternatives), depth);
        const GenRule* rule = g.Find(e.name);
        if (rule->kind == GenRule::kValue)
            return Value(rule->valueType);
        if (rule->kind == GenRule::kChoice)
            return One(rule->alternatives[Deep(depth) ? 0 : s.Pick(static_cast<uint32_t>(rule->alternatives.size()))][0], depth);
        Form(*rule, depth + 1);
    }

    void Form(const GenRule& rule, int depth)
    {
        tokens.push_back("(" + RandomCase(rule.name, s));
        Sequence(OneOf(s, rule.alternatives), depth);
        tokens.push_back(")");
    }

    // The tokens with random blanks and comments between them.
    std::string Text()
    {
        static const char* const gaps[] = {" ", " ", "\n", "\t", " ; note\n", "\n# note\n "};
        std::string text;
        for (const std::string& token : tokens)
            text += (text.empty() || (token == ")" && s.Chance(50)) ? "" : OneOf(s, gaps)) + token;
        return text;
    }
};

// Every element a form's rule may hold, looking into groups and choices.
void Flatten(const GenGrammar& g, const std::vector<GenSequence>& alternatives, std::vector<const GenElement*>& out)
{
    for (const GenSequence& seq : alternatives)
        for (const GenElement& e : seq) {
            out.push_back(&e);
            if (e.kind == GenElement::kGroup)
                Flatten(g, e.alternatives, out);
            const GenRule* rule = e.kind == GenElement::kRef ? g.Find(e.name) : nullptr;
            if (rule && rule->kind == GenRule::kChoice)
                Flatten(g, rule->alternatives, out);
        }
}

// Text of one element that the rule of form `formName` holds (a value, literal or form);
// sometimes cut short or otherwise broken.
std::string GenerateContent(const GenGrammar& g, const std::string& formName, Rng& s)
{
    DocumentMaker maker{g, s, {}};
    std::vector<const GenElement*> elements;
    const GenRule* rule = g.Find(formName);
    if (rule && rule->kind == GenRule::kForm)
        Flatten(g, rule->alternatives, elements);
    if (elements.empty())
        maker.Value(OneOf(s, kValueKinds));
    else
        maker.One(*OneOf(s, elements), DocumentMaker::kDeepest - 1);
    const std::string text = maker.Text();
    switch (s.Pick(8)) {
    case 0: return text.substr(0, s.Pick(static_cast<uint32_t>(text.size())));  // cut short
    case 1: return text + ")";
    case 2: return "(" + text;
    case 3: return text + " " + MessyIdent(g, s);
    default: return text;
    }
}

// --- Descriptions and checks

std::string Quote(const char* text) { return text ? "\"" + std::string(text) + "\"" : "<none>"; }

// A node's keyword, type and value, reals bit for bit.
std::string NodeText(const CZelOid* n)
{
    if (n->GetKeywordId() == 0)
        return "<free>";
    const int type = n->GetObjType();
    std::string out = std::string(n->GetKeyword()) + " #" + std::to_string(n->GetKeywordId()) + " type " + std::to_string(type);
    if (type == zelKW_INTTOK)
        out += " " + std::to_string(n->GetIntval());
    if (type == zelKW_REALTOK) {
        const double v = n->GetRealval();
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        char text[64];
        std::snprintf(text, sizeof text, " %.17g [%016" PRIx64 "]", v, bits);
        out += text;
    }
    if (type == zelKW_STRTOK || type == zelKW_IDENT || type == zelKW_WORDTOK)
        out += " " + Quote(n->GetName());
    return out;
}

}  // namespace

std::vector<std::pair<const CZelOid*, int>> Walk(const CZelParser& parser, const CZelOid* skip)
{
    std::vector<std::pair<const CZelOid*, int>> out, pending;
    for (int i = parser.GetGoalCount() - 1; i >= 0; --i)
        if (parser.GetGoalAt(i))
            pending.push_back({parser.GetGoalAt(i), 0});
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (node == skip)
            continue;
        out.push_back({node, depth});
        const size_t first = pending.size();
        for (const CZelOid* c = node->GetFirstObj(); c; c = c->GetNextObj())
            pending.push_back({c, depth + 1});
        std::reverse(pending.begin() + static_cast<long>(first), pending.end());
    }
    return out;
}

namespace {

// Every node's description and nesting, one line per node.
std::string Describe(const CZelParser& parser, const CZelOid* skip = nullptr)
{
    std::string out;
    for (const auto& [n, depth] : Walk(parser, skip))
        out += std::string(2 * depth, ' ') + NodeText(n) + "\n";
    return out;
}

std::string Saved(CZelParser& parser, const std::string& name)
{
    parser.SetOfname(name.c_str());
    return parser.Save() == 0 ? ReadFile(name) : "<cannot save>";
}

std::string FirstDifference(const std::string& expected, const std::string& found)
{
    if (expected == found)
        return "";
    const size_t at = std::mismatch(expected.begin(), expected.end(), found.begin(), found.end()).first - expected.begin();
    const size_t start = at == 0 ? 0 : expected.rfind('\n', at - 1) + 1;  // the line the difference is on
    const auto line = [start](const std::string& t) { return start < t.size() ? t.substr(start, t.find('\n', start) - start) : "<end>"; };
    return "first difference at byte " + std::to_string(at) + ":\n  expected: " + line(expected) + "\n  found:    " + line(found) + "\n";
}

// Whether the text the writer gives a value node reads back, as a token on its own under
// the same settings, as the same value.
bool ValueReadsBack(CZelParser& parser, zelParserS* grammar, const Settings& st, const CZelOid* node)
{
    const int type = node->GetObjType();
    if ((type < zelKW_INTTOK || type > zelKW_IDENT) && type != zelKW_WORDTOK)
        return true;
    CStringList list;
    parser.WriteList(node, 0, &list);
    Components probe(grammar, st.escape, st.extended != 0, 64, st.options);
    probe.SetText(list.IsEmpty() ? "" : static_cast<const char*>(list.GetHead()));
    zel::Lexer& lexer = probe.lexer;
    if (lexer.Gettok() != 1)
        return false;
    if (lexer.TokenType() == zelKW_IDENT)
        lexer.ConvertToktyp();
    const int tokType = lexer.TokenType();
    const std::string token = lexer.TokenText();
    if (lexer.Gettok() != 0)
        return false;
    if (type == zelKW_INTTOK)
        return tokType == zelKW_INTTOK && token == std::to_string(node->GetIntval());
    if (type == zelKW_REALTOK) {
        const double back = std::atof(token.c_str()), v = node->GetRealval();
        return (tokType == zelKW_REALTOK || tokType == zelKW_INTTOK) && std::memcmp(&back, &v, sizeof v) == 0;
    }
    const char* value = node->GetName();
    const bool word = tokType != zelKW_STRTOK && tokType != zelKW_FORM && tokType != zelKW_EOFORM && tokType != zelKW_EMPTYFORM;
    const bool kind = type == zelKW_WORDTOK ? word
                      : type == zelKW_STRTOK ? tokType == zelKW_STRTOK
                                             : tokType == zelKW_IDENT || (st.extended && tokType == zelKW_LITIDENT);
    return kind && value && token == value;
}

}  // namespace

const GenRule* GenGrammar::Find(const std::string& name) const
{
    for (const GenRule& rule : rules)
        if (strcasecmp(rule.name.c_str(), name.c_str()) == 0)
            return &rule;
    return nullptr;
}

std::string Settings::Text() const
{
    return std::string(extended ? "extended" : "plain") + " rules, escape " + (escape ? std::string(1, escape) : "none") +
           ", options " + std::to_string(options) + ", " + (engine ? "iterative" : "recursive") + " engine" +
           (keepComments ? ", comments kept" : "");
}

GenGrammar GenerateGrammar(uint32_t seed)
{
    Rng s(seed);
    GenGrammar g;
    GrammarMaker{s, g, 1 + static_cast<int>(s.Pick(5)), static_cast<int>(s.Pick(3)), static_cast<int>(s.Pick(3))}.Make();
    g.text = GrammarText(g);
    return g;
}

std::string GenerateDocument(const GenGrammar& g, Rng& s)
{
    DocumentMaker maker{g, s, {}};
    for (uint32_t n = 1 + s.Pick(3); n > 0; --n)
        maker.Form(*g.Find(OneOf(s, g.goals)), 0);
    return maker.Text() + "\n";
}

std::vector<const CZelOid*> Nodes(const CZelParser& parser)
{
    std::vector<const CZelOid*> nodes;
    for (const auto& visit : Walk(parser))
        nodes.push_back(visit.first);
    return nodes;
}

std::string CheckRoundTrip(CZelParser& parser, zelParserS* grammar, const Settings& st, const std::string& dir)
{
    const std::string tree = Describe(parser);
    const std::string saved = Saved(parser, dir + "/saved.zel"), listed = WrittenList(parser);
    for (int pass = 0; pass < 2; ++pass) {
        const std::string& text = pass ? listed : saved;
        const std::string name = dir + (pass ? "/listed.zel" : "/saved.zel");
        if (pass)
            WriteText(name, text);
        RecordingParser back(grammar, 16, 65535, st.escape, st.extended, st.options);
        back.SetKeepComments(st.keepComments);
        const int errors = back.Parse(name.c_str(), st.engine);
        std::string what, diff;
        if (errors || !back.reports.empty())
            what = "reads back with messages";
        else if (!(diff = FirstDifference(tree, Describe(back))).empty())
            what = "reads back as another tree";
        else if (!(diff = FirstDifference(listed, WrittenList(back))).empty() ||
                 !(diff = FirstDifference(saved, Saved(back, dir + "/again.zel"))).empty())
            what = "writes another text";
        if (what.empty())
            continue;
        std::string account = "written text (" + std::string(pass ? "WriteList" : "Save") + ") " + what + "\n-- text:" + text + "\n";
        for (const std::string& report : back.reports)
            account += "-- message: " + report;
        return account + (diff.empty() ? "" : "-- " + diff);
    }
    return "";
}

std::string Edit::Text() const
{
    static const char* const names[] = {"AddObject", "AddChildObject", "InsObject", "ReplaceObject", "RemObject",
                                        "ReplaceData", "InsIdent", "InsStrtok", "InsInttok", "InsRealtok",
                                        "AppIdent", "AppStrtok", "AppInttok", "AppRealtok"};
    const bool isReal = op == kInsRealtok || op == kAppRealtok;
    char value[64];
    std::snprintf(value, sizeof value, "%.17g", isReal ? real : static_cast<double>(number));
    const bool numeric = op == kInsInttok || op == kInsRealtok || (op >= kAppInttok && text.empty());
    return std::string(names[op % kOpCount]) + ": node " + std::to_string(node) + ", " +
           (op == kRemObject ? "" : numeric ? value : Quote(text.c_str()));
}

Edit RandomEdit(const GenGrammar& g, const CZelParser& parser, Rng& s)
{
    static const double reals[] = {1e-7, 1.0 / 3, -0.0, 1e300, std::numeric_limits<double>::max(),
                                   std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
    static const int ints[] = {0, -1, 2147483647, -2147483647 - 1};
    const std::vector<const CZelOid*> nodes = Nodes(parser);
    Edit e;
    e.op = static_cast<int>(s.Pick(Edit::kOpCount));
    e.node = s.Pick(static_cast<uint32_t>(nodes.size()));
    const CZelOid* node = nodes.empty() ? nullptr : nodes[e.node];
    const int type = node ? node->GetObjType() : 0;
    switch (e.op) {
    case Edit::kAddObject: case Edit::kAddChildObject: case Edit::kInsObject: case Edit::kReplaceObject: {
        const CZelOid* form = node && e.op <= Edit::kAddChildObject ? node : node ? node->GetParent() : nullptr;
        e.text = GenerateContent(g, form ? form->GetKeyword() : "", s);
        break;
    }
    case Edit::kInsIdent: case Edit::kAppIdent: e.text = MessyIdent(g, s); break;
    case Edit::kInsStrtok: case Edit::kAppStrtok: e.text = MessyString(s); break;
    case Edit::kReplaceData:
        e.text = type == zelKW_INTTOK || type == zelKW_REALTOK ? MessyNumber(s, type == zelKW_REALTOK)
                 : type == zelKW_STRTOK ? MessyString(s) : type == zelKW_WORDTOK ? MessyWord(g, s) : MessyIdent(g, s);
        break;
    case Edit::kAppInttok: case Edit::kAppRealtok:
        e.text = s.Chance(50) ? MessyNumber(s, e.op == Edit::kAppRealtok) : "";
        break;
    default: break;
    }
    e.number = s.Chance(50) ? OneOf(s, ints) : static_cast<int32_t>(s.Next());
    e.real = s.Chance(50) ? OneOf(s, reals) : std::atof(MessyNumber(s, true).c_str());
    return e;
}

std::string ApplyEdit(RecordingParser& parser, zelParserS* grammar, const Settings& st, const Edit& e,
                      const std::string& dir, bool& readsBack)
{
    const std::vector<const CZelOid*> nodes = Nodes(parser);
    if (nodes.empty())
        return "";
    const CZelOid* node = nodes[e.node % nodes.size()];
    // A removed goal stays in the goal table as a free node, by design; removal is
    // checked on nodes that have a parent.
    if (e.op == Edit::kRemObject && !node->GetParent())
        return "";
    const std::string before = Describe(parser), without = Describe(parser, node);
    const size_t reportsBefore = parser.reports.size();
    CStringList lines;
    lines.AddTail(e.text.c_str());
    const char* text = e.text.c_str();
    const CZelOid* made = nullptr;
    bool granted = false;
    switch (e.op) {
    case Edit::kAddObject: made = parser.AddObject(node, text); break;
    case Edit::kAddChildObject: lines.AddTail("(ignored)"), made = parser.AddChildObject(node, &lines); break;
    case Edit::kInsObject: made = parser.InsObject(node, &lines); break;
    case Edit::kReplaceObject: made = parser.ReplaceObject(node, &lines); break;
    case Edit::kRemObject: granted = parser.RemObject(node) != 0; break;
    case Edit::kReplaceData: granted = parser.ReplaceData(node, text) == 0 && ((node->GetObjType() >= zelKW_INTTOK &&
                                       node->GetObjType() <= zelKW_IDENT) || node->GetObjType() == zelKW_WORDTOK); break;
    case Edit::kInsIdent: made = node->InsIdent(text); break;
    case Edit::kInsStrtok: made = node->InsStrtok(text); break;
    case Edit::kInsInttok: made = node->InsInttok(e.number); break;
    case Edit::kInsRealtok: made = node->InsRealtok(e.real); break;
    case Edit::kAppIdent: made = node->AppIdent(text); break;
    case Edit::kAppStrtok: made = node->AppStrtok(text); break;
    case Edit::kAppInttok: made = e.text.empty() ? node->AppInttok(e.number) : node->AppInttok(text); break;
    default: made = e.text.empty() ? node->AppRealtok(e.real) : node->AppRealtok(text); break;
    }
    granted = granted || made;
    std::string context = "-- edit " + e.Text() + (granted ? " granted" : " refused") + "\n-- messages during the edit:\n";
    for (size_t i = reportsBefore; i < parser.reports.size(); ++i)
        context += "  " + parser.reports[i];
    std::string diff;
    if (!granted) {
        // ReplaceData on a node without a value changes nothing and is not counted as granted.
        diff = FirstDifference(before, Describe(parser));
        return diff.empty() ? "" : "refused edit changed the tree\n" + context + "-- " + diff;
    }
    if (e.op == Edit::kRemObject) {
        diff = FirstDifference(without, Describe(parser));
        // A removal checks only that the node's element is not required.
        readsBack = CheckRoundTrip(parser, grammar, st, dir).empty();
    } else if (e.op >= Edit::kAppIdent) {
        // An append only checks that the keyword occurs in the rule, so the tree need not
        // read back as a whole: the new value alone must, and it is then taken out again.
        if (!ValueReadsBack(parser, grammar, st, made))
            return "appended value reads back as another token\n" + context + "-- value: " + NodeText(made) + "\n";
        made->RemObject();
        diff = FirstDifference(before, Describe(parser));
    } else if (readsBack) {
        const std::string failure = CheckRoundTrip(parser, grammar, st, dir);
        return failure.empty() ? "" : failure + context;
    }
    return diff.empty() ? "" : "granted edit left another tree than expected\n" + context + "-- " + diff;
}

}  // namespace zeltest
