// Reader of the grammar language: statements of goals, forms, choices, values and
// literals, with alternatives, groups and the modifiers ?, * and +, and the statements of
// lexical settings.
#include <string>

#include "grammar/grammar_text.h"
#include "grammar/setting_names.h"
#include "lex/char_class.h"

namespace zel {

namespace {

struct Token {
    enum Kind { kWord, kQuoted, kPunct, kEnd } kind = kEnd;
    std::string text;
    int line = 0;
};

// Groups nest at most this deep, which keeps the reading of a group bounded.
const int kMaxGroupDepth = 64;

// The characters of a name: those of the keywords real formats use, but none of the
// grammar's own punctuation ("/" would start a comment).
bool IsWordChar(char c)
{
    return IsAlnum(c) || c == '_' || c == '$' || c == '-' || c == '.' || c == ':' || c == '@' || c == '!' ||
           c == '%' || c == '^' || c == '~';
}

class Reader {
public:
    Reader(const char* text, std::vector<std::string>& errors)
        : m_p(text ? text : ""), m_statementStart(errors.size()), m_errors(errors)
    {
        Advance();
    }

    GrammarText ReadAll()
    {
        GrammarText grammar;
        while (m_tok.kind != Token::kEnd) {
            const size_t before = m_errors.size() + m_suppressed;
            ReadStatement(grammar);
            if (m_errors.size() + m_suppressed != before)
                SkipStatement();
        }
        return grammar;
    }

private:
    void Advance()
    {
        if (IsPunct(";"))
            m_statementStart = m_errors.size();
        for (;;) {
            while (IsSpace(*m_p)) {
                if (*m_p == '\n')
                    ++m_line;
                ++m_p;
            }
            if (*m_p == '#' || (m_p[0] == '/' && m_p[1] == '/')) {
                while (*m_p && *m_p != '\n')
                    ++m_p;
                continue;
            }
            break;
        }
        // The end of the grammar is reported on the line of the last token before it.
        const int previous = m_tok.kind == Token::kEnd ? m_line : m_tok.line;
        m_tok = Token();
        m_tok.line = *m_p ? m_line : previous;
        if (!*m_p)
            return;
        if (*m_p == '"') {
            ++m_p;
            m_tok.kind = Token::kQuoted;
            while (*m_p && *m_p != '"' && *m_p != '\n')
                m_tok.text += *m_p++;
            if (*m_p == '"')
                ++m_p;
            else
                Error("unterminated quoted name");
            return;
        }
        if (IsWordChar(*m_p)) {
            m_tok.kind = Token::kWord;
            while (IsWordChar(*m_p))
                m_tok.text += *m_p++;
            return;
        }
        // A name in angle brackets, "<string>", is one word: the spelling of a built-in kind.
        if (*m_p == '<') {
            const char* end = m_p + 1;
            while (IsWordChar(*end))
                ++end;
            if (*end == '>' && end > m_p + 1) {
                m_tok.kind = Token::kWord;
                m_tok.text.assign(m_p, end + 1);
                m_p = end + 1;
                return;
            }
        }
        m_tok.kind = Token::kPunct;
        m_tok.text = *m_p++;
    }

    // Reports the first error of a statement only: the rest follow from it (an unterminated
    // quoted name, for one, swallows the text up to the end of its line).
    void Error(const std::string& text)
    {
        if (m_errors.size() > m_statementStart)
            ++m_suppressed;
        else
            m_errors.push_back("line " + std::to_string(m_tok.line) + ": " + text);
    }

    bool IsPunct(const char* p) const { return m_tok.kind == Token::kPunct && m_tok.text == p; }

    bool Expect(const char* p)
    {
        if (IsPunct(p)) {
            Advance();
            return true;
        }
        Error(std::string("expected \"") + p + "\" but found " + Describe());
        return false;
    }

    std::string Describe() const
    {
        if (m_tok.kind == Token::kEnd)
            return "the end of the grammar";
        return "\"" + m_tok.text + "\"";
    }

    // Skips to the end of the statement in error, so that reading goes on with the next.
    void SkipStatement()
    {
        while (m_tok.kind != Token::kEnd && !IsPunct(";"))
            Advance();
        if (IsPunct(";"))
            Advance();
    }

    void ReadStatement(GrammarText& grammar)
    {
        if (m_tok.kind != Token::kWord) {
            Error("expected a statement (goal, form, choice, value, literal, rules, escape or option) but found " +
                  Describe());
            return;
        }
        const std::string keyword = m_tok.text;
        const int line = m_tok.line;
        Advance();
        if (keyword == "goal") {
            // goal NAME ( "|" NAME )* [";"]
            for (;;) {
                if (m_tok.kind != Token::kWord) {
                    Error("expected a form name after \"goal\" but found " + Describe());
                    return;
                }
                grammar.goals.emplace_back(m_tok.text, m_tok.line);
                Advance();
                if (!IsPunct("|"))
                    break;
                Advance();
            }
            if (IsPunct(";"))
                Advance();
            return;
        }
        if (keyword == "literal") {
            while (m_tok.kind == Token::kWord || m_tok.kind == Token::kQuoted) {
                Rule rule;
                rule.kind = Rule::kLiteral;
                rule.name = m_tok.text;
                rule.line = m_tok.line;
                grammar.rules.push_back(rule);
                Advance();
            }
            Expect(";");
            return;
        }
        if (keyword == "rules" || keyword == "escape" || keyword == "option") {
            ReadSetting(keyword, grammar.settings);
            return;
        }
        Rule rule;
        rule.line = line;
        if (keyword == "form")
            rule.kind = Rule::kForm;
        else if (keyword == "choice")
            rule.kind = Rule::kChoice;
        else if (keyword == "value")
            rule.kind = Rule::kValue;
        else {
            m_tok.line = line;
            Error("unknown statement \"" + keyword + "\"");
            return;
        }
        if (m_tok.kind != Token::kWord) {
            Error("expected a name after \"" + keyword + "\" but found " + Describe());
            return;
        }
        rule.name = m_tok.text;
        Advance();
        if (IsPunct(";") && rule.kind == Rule::kForm) {
            Advance();
            grammar.rules.push_back(rule);  // a form without a rule; reported by the builder
            return;
        }
        if (!Expect("="))
            return;
        rule.hasRule = true;
        if (rule.kind == Rule::kValue) {
            if (m_tok.kind != Token::kWord) {
                Error("expected ident, int, real, string or word but found " + Describe());
                return;
            }
            rule.valueType = m_tok.text;
            Advance();
        } else {
            const size_t before = m_errors.size();
            rule.alternatives = ReadAlternatives(rule.kind == Rule::kForm);
            if (m_errors.size() != before)
                return;
        }
        if (Expect(";"))
            grammar.rules.push_back(rule);
    }

    bool IsWord(const char* word) const { return m_tok.kind == Token::kWord && m_tok.text == word; }

    // Takes the value of a setting at the token and the ";" after it. A setting stated
    // before must have the same value (was names the earlier one).
    template <typename T>
    bool TakeSetting(T value, T& setting, bool& stated, const char* keyword, const std::string& was)
    {
        if (stated && value != setting) {
            Error(std::string(keyword) + " already set to " + was);
            return false;
        }
        Advance();
        if (!Expect(";"))
            return false;
        setting = value;
        stated = true;
        return true;
    }

    // rules plain|extended ; escape "C"|none ; option NAME... ; A setting stated twice must
    // say the same both times; options add up.
    void ReadSetting(const std::string& keyword, StatedSettings& settings)
    {
        if (keyword == "rules") {
            if (!IsWord("plain") && !IsWord("extended")) {
                Error("rules takes plain or extended, not " + Describe());
                return;
            }
            if (!TakeSetting(IsWord("extended") ? 1 : 0, settings.extended, m_rulesStated, "rules",
                             settings.extended ? "extended" : "plain"))
                return;
        } else if (keyword == "escape") {
            if (!IsWord("none") && !(m_tok.kind == Token::kQuoted && m_tok.text.size() == 1)) {
                Error("escape takes one character in double quotes, or none, not " + Describe());
                return;
            }
            const std::string was = settings.escape ? "\"" + std::string(1, settings.escape) + "\"" : "none";
            if (!TakeSetting(m_tok.kind == Token::kQuoted ? m_tok.text[0] : '\0', settings.escape, m_escapeStated,
                             "escape", was))
                return;
        } else {
            int bits = 0;
            do {
                const int bit = m_tok.kind == Token::kWord ? LexicalOptionBit(m_tok.text.c_str()) : 0;
                if (!bit) {
                    std::string known;
                    for (const LexicalOptionName& option : kLexicalOptionNames)
                        known += (known.empty() ? "" : " or ") + std::string(option.name);
                    Error("option takes " + known + ", not " + Describe());
                    return;
                }
                bits |= bit;
                Advance();
            } while (!IsPunct(";") && m_tok.kind != Token::kEnd);
            if (!Expect(";"))
                return;
            settings.options |= bits;
        }
        settings.stated = true;
    }

    // alternatives := sequence ('|' sequence)*. A single empty sequence is allowed only
    // where emptyAllowed (the content of a form).
    std::vector<Sequence> ReadAlternatives(bool emptyAllowed)
    {
        std::vector<Sequence> alternatives;
        for (;;) {
            const int line = m_tok.line;
            alternatives.push_back(ReadSequence());
            if (alternatives.back().empty() && !(emptyAllowed && !IsPunct("|") && alternatives.size() == 1)) {
                m_errors.push_back("line " + std::to_string(line) + ": empty alternative");
                return alternatives;
            }
            if (!IsPunct("|"))
                return alternatives;
            Advance();
        }
    }

    Sequence ReadSequence()
    {
        Sequence sequence;
        while (m_tok.kind == Token::kWord || m_tok.kind == Token::kQuoted || IsPunct("(")) {
            Element element;
            element.line = m_tok.line;
            if (IsPunct("(")) {
                if (m_groupDepth >= kMaxGroupDepth) {
                    Error("groups nested deeper than " + std::to_string(kMaxGroupDepth));
                    return sequence;
                }
                Advance();
                element.kind = Element::kGroup;
                const size_t before = m_errors.size();
                ++m_groupDepth;
                element.alternatives = ReadAlternatives(false);
                --m_groupDepth;
                if (m_errors.size() != before || !Expect(")"))
                    return sequence;
            } else {
                element.kind = m_tok.kind == Token::kQuoted ? Element::kQuoted : Element::kName;
                element.name = m_tok.text;
                Advance();
            }
            if (IsPunct("?") || IsPunct("*") || IsPunct("+")) {
                element.modifier = m_tok.text[0];
                Advance();
            }
            sequence.push_back(element);
        }
        return sequence;
    }

    const char* m_p;
    size_t m_statementStart = 0;  // errors before the statement being read
    int m_groupDepth = 0;         // groups open around the element being read
    size_t m_suppressed = 0;      // errors not reported, as they follow from an earlier one
    int m_line = 1;
    bool m_rulesStated = false;
    bool m_escapeStated = false;
    Token m_tok;
    std::vector<std::string>& m_errors;
};

}  // namespace

GrammarText ReadGrammar(const char* text, std::vector<std::string>& errors)
{
    Reader reader(text, errors);
    return reader.ReadAll();
}

}  // namespace zel
